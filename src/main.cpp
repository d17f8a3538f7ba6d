// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QLoggingCategory>
#include <QTranslator>

#include "startup.h"
#include "velkoran.h"
#include "velkoran_version.h"

#include <cstdio>
#include <cstring>

// Off unless asked for with QT_LOGGING_RULES="velkoran.startup.info=true":
// which catalogue and which encoder a start found.
Q_LOGGING_CATEGORY(lcStartup, "velkoran.startup", QtWarningMsg)

int main(int argc, char *argv[])
{
    // Answered before the toolkit starts, so that it needs no display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::fputs(VELKORAN_VERSION_TEXT("velkoran"), stdout);
        return 0;
    }
    QApplication app(argc, argv);
    // Ties the window to its installed desktop entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.velkoran.TheoraEncoder"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.velkoran.TheoraEncoder")));
    QString locale = QLocale::system().name();
    QTranslator translator;
    QTranslator toolkitTranslator;
    loadCatalogues(translator, toolkitTranslator, locale, QCoreApplication::applicationDirPath());
    installCatalogues(toolkitTranslator, translator);
    qCInfo(lcStartup) << "catalogue:" << translator.filePath();
    qCInfo(lcStartup) << "toolkit catalogue:" << toolkitTranslator.filePath();

    const QString encoder = useBundledEncoderIfMissing(QCoreApplication::applicationDirPath());
    qCInfo(lcStartup) << "encoder:" << encoder;

    Velkoran *window = new Velkoran;
    window->show();

    // Files handed over by the desktop ("Open With") become the input files,
    // queued when there are several. The toolkit has already taken its own
    // options out of the arguments.
    window->chooseInputFiles(inputsFromArguments(QCoreApplication::arguments()));

    int result = app.exec();
    return result;
}
