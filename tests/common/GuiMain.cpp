// Widget tests run GoogleTest inside a QApplication, so QTest can drive
// real widgets on the offscreen platform. Its screen is a large monitor's
// available area (1920 × 1080 without a 32-pixel panel), so the main form
// opens at its own size; tests of smaller screens set the area themselves.
#include <QApplication>
#include <QTemporaryFile>
#include <clocale>
#include <gtest/gtest.h>

namespace {

// The offscreen platform's screens come from a configuration file.
QByteArray OffscreenWithScreen(QTemporaryFile& file)
{
    if (!file.open())
        return "offscreen";
    file.write(R"({"screens": [{"name": "Monitor", "x": 0, "y": 0, "width": 1920, "height": 1048,
                   "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    return "offscreen:configfile=" + file.fileName().toUtf8();
}

}  // namespace

int main(int argc, char** argv)
{
    QTemporaryFile screens;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen")
        qputenv("QT_QPA_PLATFORM", OffscreenWithScreen(screens));
    QApplication app(argc, argv);
    // Values are printed with printf formats: keep the point as the decimal
    // separator whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
