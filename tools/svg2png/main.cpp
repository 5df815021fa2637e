// Renders an SVG picture into a square PNG of the given size, for the
// desktop icons the install step puts under share/icons/hicolor.
//   svg2png INPUT.svg SIZE OUTPUT.png
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[])
{
    // Paths drawn into an image need no display, so no GUI application.
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool sizeOk = false;
    const int size = args.size() == 4 ? args.at(2).toInt(&sizeOk) : 0;
    if (!sizeOk || size <= 0 || size > 4096) {
        std::fprintf(stderr, "usage: svg2png INPUT.svg SIZE OUTPUT.png\n");
        return 2;
    }
    QSvgRenderer svg(args.at(1));
    if (!svg.isValid()) {
        std::fprintf(stderr, "svg2png: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    if (!image.save(args.at(3), "PNG")) {
        std::fprintf(stderr, "svg2png: cannot write %s\n", qPrintable(args.at(3)));
        return 1;
    }
    return 0;
}
