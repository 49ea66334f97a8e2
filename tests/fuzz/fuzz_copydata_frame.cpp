// Arbitrary bytes sent to the running copy's message socket, through the real receiver over a
// real local socket. The first byte sets how the rest is cut into writes, so that headers and
// bodies arrive in pieces. Checks: a complete frame within the size limit is handed on once,
// whole, with its tag; an oversized one is refused; an incomplete one is handed on never; and
// a warning text made from what was handed on has exactly the frame's byte count.

#include "CopyData.h"
#include "CopyDataFrame.h"
#include "FuzzSupport.h"
#include "InputHooks.h"
#include "LocalCopyDataServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalSocket>

#include <cstdint>
#include <optional>

namespace {

struct Delivered {
    quintptr tag;
    QByteArray bytes;
};
std::optional<Delivered> delivered;
int deliveries = 0;

// Waits, within a bound, until done() holds; false if it never did.
template <typename F> bool settle(F done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return true;
}

} // namespace

// The receiver hands each message to the input module; here it is only recorded.
bool InputHooks::copyDataEvent(const CopyDataMessage &message) {
    ++deliveries;
    delivered = Delivered{message.dwData,
                          QByteArray(static_cast<const char *>(message.lpData),
                                     qsizetype(message.cbData))};
    if (const std::optional<QString> text = copyDataWarningText(message)) {
        FUZZ_CHECK(text->toUtf8().size() == qsizetype(message.cbData));
        FUZZ_CHECK(!text->contains(QChar(0)));
    }
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    fuzz::noteInputSize(size);
    static int argc = 1;
    static char arg0[] = "fuzz_copydata_frame";
    static char *argv[] = {arg0, nullptr};
    static QCoreApplication app(argc, argv);
    static const QString name = fuzz::scratchDir() + QStringLiteral("/copydata.sock");
    if (size == 0)
        return 0;

    const QByteArray stream = fuzz::bytesOf(data + 1, size - 1);
    const qsizetype chunk =
        qMax<qsizetype>(data[0] ? data[0] : stream.size(), stream.size() / 64 + 1);

    // What the receiver must do with this stream.
    enum { Incomplete, Taken, Refused } expected = Incomplete;
    quint64 tag = 0;
    quint32 length = 0;
    if (stream.size() >= CopyDataFrame::headerSize) {
        CopyDataFrame::decodeHeader(stream.constData(), tag, length);
        if (length > CopyDataFrame::maxLength)
            expected = Refused;
        else if (stream.size() >= CopyDataFrame::headerSize + qsizetype(length))
            expected = Taken;
    }

    delivered.reset();
    deliveries = 0;
    {
        LocalCopyDataServer server(name);
        FUZZ_CHECK(server.isListening());
        int refused = 0;
        QObject::connect(&server, &LocalCopyDataServer::frameRefused, [&refused] { ++refused; });

        QLocalSocket client;
        client.connectToServer(server.fullServerName());
        FUZZ_CHECK(client.waitForConnected(1000));
        for (qsizetype at = 0; at < stream.size() && client.state() == QLocalSocket::ConnectedState;
             at += chunk) {
            client.write(stream.mid(at, chunk));
            client.flush();
            QCoreApplication::processEvents();
        }

        if (expected == Incomplete) {
            client.disconnectFromServer();
            settle([] { return false; }, 2);
            FUZZ_CHECK(deliveries == 0 && refused == 0);
        } else if (expected == Refused) {
            FUZZ_CHECK(settle([&refused] { return refused > 0; }, 2000));
            FUZZ_CHECK(deliveries == 0);
        } else {
            FUZZ_CHECK(settle([] { return deliveries > 0; }, 2000));
            FUZZ_CHECK(deliveries == 1 && refused == 0);
            FUZZ_CHECK(delivered->tag == quintptr(tag));
            FUZZ_CHECK(delivered->bytes == stream.mid(CopyDataFrame::headerSize, length));
        }
        client.abort();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
