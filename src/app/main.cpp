// The editor: connects to the processor (USB, TCP or the built-in virtual
// one) and edits its six outputs live.
#include <QApplication>
#include <clocale>
#include <cstdio>

#include "QM7100.h"

int main(int argc, char** argv)
{
    // Before the application: it needs a display, and --help must work
    // without one. Qt's own options are not known yet, so only these count.
    QStringList rawArgs;
    for (int i = 0; i < argc; ++i)
        rawArgs << QString::fromLocal8Bit(argv[i]);
    const CAppOptions early = CAppOptions::Parse(rawArgs);
    if (early.bHelp || early.bVersion) {
        std::printf("%s\n", qPrintable(early.bHelp ? CAppOptions::Usage() : CAppOptions::Version()));
        return 0;
    }
    QApplication app(argc, argv);
    // Values are printed with printf formats: keep the point as the decimal
    // separator whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("ZR-470 Software");
    const CAppOptions options = CAppOptions::Parse(QApplication::arguments());
    if (!options.strError.isEmpty()) {
        std::fprintf(stderr, "zr470: %s\n%s\n", qPrintable(options.strError), qPrintable(CAppOptions::Usage()));
        return 2;
    }
    CQM7100App theApp;
    if (!theApp.InitInstance(options))
        return 1;
    return app.exec();
}
