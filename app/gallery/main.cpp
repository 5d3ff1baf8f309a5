// SPDX-License-Identifier: GPL-3.0-or-later
// quillon-gallery: paints one progress bar (or a sheet of all its styles) into a PNG.
#include "gallery.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QImage>
#include <QStringList>
#include <cstdio>
#include <optional>

namespace {

std::optional<int> intOption(const QCommandLineParser& parser, const QString& name, int fallback) {
    if (!parser.isSet(name)) {
        return fallback;
    }
    bool ok = false;
    const int v = parser.value(name).toInt(&ok);
    if (!ok) {
        std::fprintf(stderr, "quillon-gallery: --%s needs a 32-bit integer, not '%s'\n",
                     qPrintable(name), qPrintable(parser.value(name)));
        return std::nullopt;
    }
    return v;
}

bool save(const QImage& image, const QString& path) {
    if (image.isNull()) {
        std::fprintf(stderr, "quillon-gallery: the control could not be painted at that size\n");
        return false;
    }
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "quillon-gallery: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    // A tool that only writes pictures needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // QApplication would take --style for itself, so it sees only the program name.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    int appArgc = 1;
    QApplication app(appArgc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Paints one progress bar control and saves its client area as a PNG."));
    parser.addHelpOption();
    const auto option = [&parser](const char* name, const char* help, const char* valueName) {
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(help),
                                            QString::fromLatin1(valueName)));
    };
    option("style", "Look 0..9 (default 0).", "N");
    option("value", "Value (default 0).", "V");
    option("min", "Min (default 0).", "M");
    option("max", "Max (default 100).", "X");
    option("width", "Client width in pixels.", "W");
    option("height", "Client height in pixels.", "H");
    option("orientation", "0 horizontal, anything else vertical (default 0).", "O");
    option("color", "Bar colour as RRGGBB (default 4E77D5).", "RRGGBB");
    option("font", "Caption font.", "FAMILY,POINTS");
    option("image", "Picture tiled by style 8.", "FILE");
    option("out", "The PNG to write.", "FILE.png");
    option("sheet", "Write a sheet of all styles instead.", "FILE.png");
    parser.addOption(QCommandLineOption(QStringLiteral("show-text"),
                                        QStringLiteral("Show the percentage caption.")));
    parser.process(arguments);

    if (parser.isSet(QStringLiteral("sheet"))) {
        return save(quillon::gallery::renderSheet(), parser.value(QStringLiteral("sheet"))) ? 0 : 1;
    }
    if (!parser.isSet(QStringLiteral("out")) || !parser.isSet(QStringLiteral("width")) ||
        !parser.isSet(QStringLiteral("height"))) {
        std::fprintf(stderr, "quillon-gallery: --width, --height and --out are required\n");
        return 2;
    }
    quillon::gallery::BarSpec spec;
    const auto style = intOption(parser, QStringLiteral("style"), 0);
    const auto value = intOption(parser, QStringLiteral("value"), 0);
    const auto min = intOption(parser, QStringLiteral("min"), 0);
    const auto max = intOption(parser, QStringLiteral("max"), 100);
    const auto width = intOption(parser, QStringLiteral("width"), 0);
    const auto height = intOption(parser, QStringLiteral("height"), 0);
    const auto orientation = intOption(parser, QStringLiteral("orientation"), 0);
    if (!style || !value || !min || !max || !width || !height || !orientation) {
        return 2;
    }
    if (*width <= 0 || *height <= 0) {
        std::fprintf(stderr, "quillon-gallery: --width and --height must be at least 1\n");
        return 2;
    }
    spec.style = *style;
    spec.value = *value;
    spec.min = *min;
    spec.max = *max;
    spec.width = *width;
    spec.height = *height;
    spec.orientation = *orientation;
    if (parser.isSet(QStringLiteral("color"))) {
        bool ok = false;
        const QString text = parser.value(QStringLiteral("color"));
        const uint rgb = text.toUInt(&ok, 16);
        if (!ok || text.size() != 6) {
            std::fprintf(stderr, "quillon-gallery: --color needs RRGGBB, not '%s'\n",
                         qPrintable(text));
            return 2;
        }
        spec.color = quillon::controls::rgbColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    }
    spec.showText = parser.isSet(QStringLiteral("show-text"));
    if (parser.isSet(QStringLiteral("font"))) {
        const QString text = parser.value(QStringLiteral("font"));
        const qsizetype comma = text.lastIndexOf(QLatin1Char(','));
        bool ok = false;
        const double points = comma > 0 ? text.mid(comma + 1).toDouble(&ok) : 0.0;
        if (!ok || points <= 0) {
            std::fprintf(stderr, "quillon-gallery: --font needs FAMILY,POINTS, not '%s'\n",
                         qPrintable(text));
            return 2;
        }
        spec.fontFamily = text.left(comma);
        spec.fontPoints = points;
    }
    if (parser.isSet(QStringLiteral("image"))) {
        const QString path = parser.value(QStringLiteral("image"));
        if (!spec.image.load(path)) {
            std::fprintf(stderr, "quillon-gallery: cannot read the picture %s\n", qPrintable(path));
            return 2;
        }
    }
    bool accepted = true;
    const QImage image = quillon::gallery::renderBar(spec, &accepted);
    if (!accepted) {
        std::fprintf(stderr,
                     "quillon-gallery: Value %d does not map with Min %d and Max %d; the bar "
                     "keeps its previous value\n",
                     spec.value, spec.min, spec.max);
    }
    return save(image, parser.value(QStringLiteral("out"))) ? 0 : 1;
}
