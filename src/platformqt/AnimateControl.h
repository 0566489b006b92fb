#pragma once
// The animation control of dialog templates (class "SysAnimate32"): it opens
// an animation resource by id and plays it in a loop until stopped. Our
// animations are painted, not decoded from a video: an animation resource
// describes a ring of dots in which one bright dot with a fading tail runs
// round, one dot per frame.
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <vector>

namespace platform {

// Resources of this type hold an animation: two little-endian 16-bit values,
// the number of frames (dots in the ring, 2 to 64) and the milliseconds per
// frame (at least 10).
inline constexpr char RT_ANIMATION[] = "ANIMATION";

struct AnimationDescription {
    int frames = 0;
    int frameMs = 0;
};

// The bytes of an animation resource.
std::vector<unsigned char> encodeAnimation(const AnimationDescription& description);
// The description in the bytes; frames 0 when they are no animation.
AnimationDescription decodeAnimation(const unsigned char* data, std::size_t size);

class AnimateControl : public QWidget {
    Q_OBJECT
public:
    explicit AnimateControl(QWidget* parent = nullptr);

    // Loads the animation resource; false, leaving the control empty, when
    // there is none or it is damaged.
    bool open(int resourceId);
    void close();
    bool isOpen() const { return animation.frames > 0; }

    // Runs the animation from its first frame; false when nothing is open.
    bool play();
    // Stops it; the control then shows the ring at rest.
    void stop();
    bool isPlaying() const { return playing; }

    // The frame shown now: it follows the time since play, so that a repaint
    // between long blocking steps shows how far the animation got.
    int currentFrame() const;
    int frameCount() const { return animation.frames; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    AnimationDescription animation;
    bool playing = false;
    QElapsedTimer started;
    QTimer ticks;
};

} // namespace platform
