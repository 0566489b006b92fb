#pragma once
// A graph's scale labels are dark text over a light halo that keeps them
// readable over the curve. The halo is the stroked outline of the text,
// which is dear to build (every glyph's outline, then a wide stroke), and a
// live graph repaints its labels many times a second: so a label on screen
// is drawn once into a picture, kept per text, font, colours and pixel
// ratio, and that picture is copied at every paint.
#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QString>

class QPainter;

// The label drawn stroke by stroke, with the top-left of its text box (the
// font's height by the text's advance) at `topLeft`: the halo, then the text.
void drawLabelDirectly(QPainter& painter, const QPoint& topLeft, const QString& text, const QFont& font,
                       const QColor& textColour = Qt::black, const QColor& haloColour = Qt::white);

// How many pixels the halo reaches beyond the text box on every side.
int labelHaloReach(const QFont& font);

class LabelPictures {
public:
    // The label's picture with its text box's top-left at `topLeft`; looks as
    // drawLabelDirectly would draw it. The painter must not scale or turn.
    void draw(QPainter& painter, const QPoint& topLeft, const QString& text, const QFont& font,
              const QColor& textColour = Qt::black, const QColor& haloColour = Qt::white);
    std::size_t size() const { return static_cast<std::size_t>(pictures.size()); }
    void clear() { pictures.clear(); }

    // The pictures every graph of the program shares: a class of sessions
    // shows the same few labels.
    static LabelPictures& shared();

private:
    struct Picture {
        QImage image;
        // Where the image's top-left stands from the text box's top-left.
        QPoint offset;
    };
    // Enough for the labels of every language, unit and band a station shows at once.
    static constexpr int maxPictures = 512;
    QHash<QString, Picture> pictures;
};
