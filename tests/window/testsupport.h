// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

// Helpers shared by the window's tests: a fake encoder first on PATH, a
// watcher that answers modal dialogs, and access to the window's state.

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include <functional>

#include "velkoran.h"

// No window of a test reads or keeps the settings of the person running it:
// the settings go nowhere unless a test gives them a place of its own.
inline const bool settingsGoNowhere = [] {
    qputenv("XDG_CONFIG_HOME", "/dev/null/velkoran-tests");
    return true;
}();

// Reaches the window's private state for checks.
class VelkoranTestAccess
{
public:
    static Ui::Velkoran &ui(Velkoran &w) { return w.ui; }
    static QProcess &process(Velkoran &w) { return w.myprocez; }
    static int realDuration(const Velkoran &w) { return w.real_duration; }
    static bool k(const Velkoran &w) { return w.k; }
    static bool getDuration(const Velkoran &w) { return w.getDuration; }
    static bool customEndTimeBool(const Velkoran &w) { return w.customendtimebool; }
    static int customEndTime(const Velkoran &w) { return w.customendtime; }
    static void setCustomEndTime(Velkoran &w, bool on, int length)
    {
        w.customendtimebool = on;
        w.customendtime = length;
    }
    static QString baseCommand(Velkoran &w) { return w.generateFFmpeg2theoraCommand(); }
    static QStringList metainfo(Velkoran &w) { return w.checkMetainfo(); }
    static QStringList args(Velkoran &w) { return w.getArgs(); }
    static QStringList audio(Velkoran &w) { return w.getAudioQuality(); }
    static QStringList video(Velkoran &w) { return w.getVideoQuality(); }
    static int toSeconds(Velkoran &w, const QTime &t) { return w.toSeconds(t); }
    static EncodeForecast *forecast(Velkoran &w) { return w.forecast; }
};

// A stand-in for ffmpeg2theora, put first on PATH. Each run records its
// arguments (NUL-separated) in a numbered file and then runs the shell
// commands of its behaviour, which print scripted error output.
class FakeEncoder
{
public:
    FakeEncoder()
    {
        QDir(dir.path()).mkdir("bin");
        oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir.filePath("bin")) + ':' + oldPath);
        setBehaviour("exit 0");
    }
    ~FakeEncoder() { qputenv("PATH", oldPath); }

    // Shell commands run after the arguments are recorded; "$out" is the output path.
    // Unless WRITESOUTPUT is false, a few bytes are written there first, as an
    // encoder that works would.
    void setBehaviour(const QString &shell, bool writesOutput = true)
    {
        behaviour = shell;
        writes = writesOutput;
        const QString script =
            "#!/bin/sh\n"
            "d='" +
            dir.path() +
            "'\n"
            "for a in \"$@\"; do last=\"$a\"; done\n"
            "if [ \"$last\" = --resume-check ]; then\n"
            "  n=$(ls \"$d\"/check-* 2>/dev/null | wc -l)\n"
            "  for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$d/check-$n\"\n" +
            check +
            "\n  exit\n"
            "fi\n"
            "n=$(ls \"$d\"/args-* 2>/dev/null | wc -l)\n"
            "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$d/args-$n.tmp\"\n"
            "mv \"$d/args-$n.tmp\" \"$d/args-$n\"\n"
            "out=''; prev=''\n"
            "for a in \"$@\"; do [ \"$prev\" = -o ] && out=\"$a\"; prev=\"$a\"; done\n" +
            (writesOutput ? "[ -n \"$out\" ] && { printf OggS > \"$out\"; } 2>/dev/null\n" : "") +
            shell + "\n";
        QFile f(dir.filePath("bin/ffmpeg2theora"));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(script.toUtf8());
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Shell commands that answer a resume check (arguments ending in
    // --resume-check), which is no run: its arguments go to check-N. By
    // default the check is an option this encoder does not know.
    void setResumeCheck(const QString &shell)
    {
        check = shell;
        setBehaviour(behaviour, writes);
    }

    // Runs whose arguments are recorded in full (a run's args-N.tmp is still being written).
    int runs() const
    {
        const QStringList names = QDir(dir.path()).entryList({"args-*"}, QDir::Files);
        return int(std::count_if(names.begin(), names.end(),
                                 [](const QString &n) { return !n.endsWith(".tmp"); }));
    }

    // The arguments of run N (0 first), as the encoder received them; of
    // resume check N with KIND "check".
    QStringList arguments(int n = -1, const QString &kind = "args") const
    {
        if (n < 0)
            n = runs() - 1;
        QFile f(dir.filePath(QString("%1-%2").arg(kind).arg(n)));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList args;
        const QList<QByteArray> parts = f.readAll().split('\0');
        for (int i = 0; i + 1 < parts.size(); ++i)
            args << QString::fromLocal8Bit(parts[i]);
        return args;
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;

private:
    QByteArray oldPath;
    QString behaviour;
    bool writes = true;
    QString check = "echo \"ffmpeg2theora: unknown option '--resume-check'\" >&2; exit 1";
};

// Answers every modal dialog that opens while it lives, recording message boxes.
class ModalWatcher : public QObject
{
public:
    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        const QWidget *parent; // for comparison only; it may be gone
    };

    explicit ModalWatcher(QMessageBox::StandardButton answer = QMessageBox::Yes) : answer(answer)
    {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, this, [this] { poll(); });
        timer.start();
    }

    // Handles the next non-message-box dialog (a file chooser) instead.
    std::function<void(QWidget *)> onDialog;

    QList<Box> boxes;
    QMessageBox::StandardButton answer;

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            if (box == handled)
                return;
            handled = box;
            boxes.append({box->windowTitle(), box->text(), box->icon(), box->parentWidget()});
            QAbstractButton *button = box->button(answer);
            if (!button)
                button = box->defaultButton() ? static_cast<QAbstractButton *>(box->defaultButton())
                                              : box->buttons().value(0);
            if (button)
                button->click();
            else
                box->close();
        } else if (onDialog) {
            // A file chooser may refuse the answer until it has read its
            // directory, so it is answered again until it closes.
            onDialog(modal);
        }
    }

    QTimer timer;
    QPointer<QWidget> handled;
};

#endif
