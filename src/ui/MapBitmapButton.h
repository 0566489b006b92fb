#pragma once
// A push button that shows one of up to five bitmaps by its state (normal,
// pressed, focused, pressed and focused, disabled), with the bitmaps' black,
// greys and white in the user's button colours. It takes over a dialog's
// button; a label with the button's caption can stand to its right.
#include <QAbstractButton>
#include <QPixmap>
#include <QWidget>

// The label beside a bitmap button: it shows the caption, but reports an
// empty window text once placed, so that no pass over the dialog's texts
// (translation) changes it. A click on the caption is a click on its button.
class ButtonLabel : public QWidget {
public:
    ButtonLabel() = default;
    void setShownText(const QString& text) { shownText = text; update(); }
    const QString& getShownText() const { return shownText; }
    bool textEnabled = false;
    // The button the label belongs to.
    QAbstractButton* button = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString shownText;
    bool pressed = false;
};

class MapBitmapButton : public QAbstractButton {
public:
    MapBitmapButton();
    ~MapBitmapButton() override;

    // Takes over the dialog's button with that id, loads the bitmaps (0: none)
    // and sizes the button to the normal one. False when there is no such
    // button or no normal bitmap.
    bool subclassAndLoad(unsigned controlId, QWidget* parent, unsigned normalId, unsigned selectedId,
                         unsigned focusId, unsigned disabledId, unsigned selectedFocusId);
    // Replaces all five bitmaps; false when the normal one or any asked for is missing.
    bool loadBitmaps(unsigned normalId, unsigned selectedId, unsigned focusId, unsigned disabledId,
                     unsigned selectedFocusId);
    void sizeToContent();
    // Puts a label with the button's caption 6 pixels to its right, centred.
    void createLabel(unsigned labelId);

    // The bitmap drawn in that state.
    const QPixmap& bitmapFor(bool pressed, bool focused, bool disabled) const;

    QPixmap m_bitmap;
    QPixmap selectedBitmap;
    QPixmap focusBitmap;
    QPixmap selectedFocusBitmap;
    QPixmap disabledBitmap;
    ButtonLabel label;

protected:
    void paintEvent(QPaintEvent* event) override;
    QSize sizeHint() const override { return m_bitmap.size(); }
};
