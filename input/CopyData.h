#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

class QWidget;

// A message another process sent to the running copy: a tag and a block of bytes, laid out
// like the Windows COPYDATASTRUCT so that both platforms hand the same thing to the window.
struct CopyDataMessage {
    quintptr dwData = 0; // tag
    quint32 cbData = 0;  // byte count
    const void *lpData = nullptr;
};

// The tag of a "show this warning" message.
constexpr quintptr copyDataWarningTag = 0x250F; // 9487
// The tag of a "switch to this profile" message: one byte, the profile number.
constexpr quintptr copyDataProfileTag = 0x2510;
// The tag of a script's command ("q7config set rate 500" while the window runs): the
// arguments, answered on the same connection once carried out (CopyDataCommand.h).
constexpr quintptr copyDataCommandTag = 0x2511;

// The text to show for a message, or nothing when the message is not a well-formed warning:
// another tag, or a byte count that is not exactly the UTF-8 length of the text (so a
// terminating NUL counted in, or bytes that are not UTF-8, make it invalid).
std::optional<QString> copyDataWarningText(const CopyDataMessage &message);

// The window's handling of a message: a warning box captioned with the window's title.
// Nothing happens without a window. One box at a time: a warning that comes while it is up
// replaces its text and is counted in it (mergedWarningText).
void showCopyDataWarning(const CopyDataMessage *message, const QWidget *window);

// The box's text once `more` further warnings came after the first: the newest and the count.
QString mergedWarningText(const QString &newest, qint64 more);
