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

// Off unless asked for with QT_LOGGING_RULES="velkoran.startup.info=true":
// which catalogue and which encoder a start found.
Q_LOGGING_CATEGORY(lcStartup, "velkoran.startup", QtWarningMsg)

int main(int argc, char *argv[])
{
    // Answered before the toolkit starts, so that it needs no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const EarlyRequest request = readCommandLine(arguments);
    if (request.kind == EarlyRequest::Version) {
        std::fputs(VELKORAN_VERSION_TEXT("velkoran"), stdout);
        return 0;
    }
    if (request.kind != EarlyRequest::Window) {
        QCoreApplication core(argc, argv);
        QTranslator translator;
        loadCatalogue(translator, QLocale::system().name(), QCoreApplication::applicationDirPath());
        QCoreApplication::installTranslator(&translator);
        if (request.kind == EarlyRequest::Help) {
            std::fputs(usageText().toLocal8Bit().constData(), stdout);
            return 0;
        }
        std::fputs(refusalText(request.refused).toLocal8Bit().constData(), stderr);
        return 2;
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

    const EncoderChoice encoder = chooseEncoder(QCoreApplication::applicationDirPath());
    qCInfo(lcStartup).nospace().noquote()
        << "encoder: \"" << encoder.path << "\" (" << encoder.why << ")";

    Velkoran *window = new Velkoran;
    window->show();

    // Files handed over by the desktop ("Open With") become the input files,
    // queued when there are several. The toolkit has already taken its own
    // options out of the arguments.
    window->chooseInputFiles(inputsFromArguments(
        QStringList{QString()} + filesFromCommandLine(QCoreApplication::arguments())));

    int result = app.exec();
    return result;
}
