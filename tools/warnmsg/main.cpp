// Sends a warning message to the running copy of q7config, which shows it in a box.
//
//   q7warnmsg [--program PATH] [--tag N] [--with-nul] TEXT
//
// PATH is the running program's file (default: q7config beside this tool); the copy started
// from that file is the one addressed. --tag and --with-nul send messages the program must
// ignore (another tag; a length that counts the terminating NUL), for checking it does.
// Exit codes: 0 accepted, 1 usage, 2 no running copy, 3 refused or cut off.
#include "CopyDataFrame.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QLocalSocket>

#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows a warning box in the running q7config."));
    parser.addHelpOption();
    const QCommandLineOption program(
        QStringLiteral("program"), QStringLiteral("The running program's file."),
        QStringLiteral("path"),
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("q7config")));
    const QCommandLineOption tag(QStringLiteral("tag"),
                                 QStringLiteral("Message tag (default 9487)."), QStringLiteral("n"),
                                 QStringLiteral("9487"));
    const QCommandLineOption withNul(QStringLiteral("with-nul"),
                                     QStringLiteral("Count a terminating NUL in the length."));
    parser.addOption(program);
    parser.addOption(tag);
    parser.addOption(withNul);
    parser.addPositionalArgument(QStringLiteral("text"), QStringLiteral("The message (UTF-8)."));
    parser.process(app);

    bool tagOk = false;
    const quint64 tagValue = parser.value(tag).toULongLong(&tagOk, 0);
    if (parser.positionalArguments().size() != 1 || !tagOk) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 1;
    }
    QByteArray bytes = parser.positionalArguments().first().toUtf8();
    if (parser.isSet(withNul))
        bytes.append('\0');
    if (quint64(bytes.size()) > CopyDataFrame::maxLength) {
        std::fprintf(stderr, "q7warnmsg: the text is longer than %u bytes\n",
                     CopyDataFrame::maxLength);
        return 1;
    }

    QLocalSocket socket;
    socket.connectToServer(CopyDataFrame::serverName(parser.value(program)));
    if (!socket.waitForConnected(3000)) {
        std::fprintf(stderr, "q7warnmsg: no running copy of %s\n",
                     qPrintable(parser.value(program)));
        return 2;
    }
    socket.write(CopyDataFrame::encode(tagValue, bytes));
    socket.flush();
    while (socket.bytesAvailable() < 1 && socket.waitForReadyRead(5000)) {
    }
    char reply = 0;
    if (socket.read(&reply, 1) != 1 || reply != CopyDataFrame::acceptedReply) {
        std::fprintf(stderr, "q7warnmsg: the running copy did not take the message\n");
        return 3;
    }
    return 0;
}
