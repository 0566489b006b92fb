// pictograms <folder>: writes the program's bitmaps into the folder as
// <resource id>.bmp (scripts/make-pictograms).
#include "BmpWriter.h"
#include "Pictograms.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: pictograms <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const auto& icons = eventPictograms();
    if (icons.size() != 97) {
        std::fprintf(stderr, "there are %zu event icons, not 97\n", icons.size());
        return 1;
    }
    // The icon list's transparent colour (red 0x15, green 0x02, blue 0x03).
    constexpr QRgb mask = 0x150203;
    struct Output {
        int id;
        QImage image;
    };
    std::vector<Output> outputs = {
        { 278, renderStrip(icons, 32, 32, 0xFFFFFF, false) },
        { 279, renderStrip(icons, 24, 24, 0xFFFFFF, false) },
        { 280, renderStrip(icons, 16, 15, mask, true) },
        { 25505, folderPicture() },
        { 253, configurationPicture() },
        { 165, printLogo() },
        { 166, printPicture() },
    };
    // First, previous, next and last, each normal, pressed, focused, disabled.
    const int navigationIds[4][4] = {
        { 186, 184, 185, 187 }, { 182, 180, 181, 183 }, { 194, 192, 193, 195 }, { 190, 188, 189, 191 }
    };
    for (int kind = 0; kind < 4; ++kind)
        for (int state = 0; state < 4; ++state)
            outputs.push_back({ navigationIds[kind][state], navigationButton(kind, state) });
    // The run-course rows' start (">") and pause (">|") buttons: the same
    // faces, normal, pressed, focused, disabled.
    const int rowButtonIds[2][4] = { { 163, 161, 162, 164 }, { 159, 157, 158, 160 } };
    for (int kind = 0; kind < 2; ++kind)
        for (int state = 0; state < 4; ++state)
            outputs.push_back({ rowButtonIds[kind][state], navigationButton(2 + kind, state) });
    // The planner's row commands: move up, move down, remove, sort, print.
    const int plannerIds[5][4] = {
        { 196, 197, 198, 199 }, { 202, 200, 201, 203 }, { 206, 204, 205, 207 }, { 210, 208, 209, 211 },
        { 213, 215, 214, 212 }
    };
    for (int kind = 0; kind < 5; ++kind)
        for (int state = 0; state < 4; ++state)
            outputs.push_back({ plannerIds[kind][state], navigationButton(4 + kind, state) });
    for (const Output& out : outputs) {
        QString path = folder.filePath(QString::number(out.id) + QStringLiteral(".bmp"));
        if (!writeBmp4(out.image, path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
