#include "platformqt/AnimateControl.h"

#include "platform/Resources.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {
constexpr int minFrames = 2;
constexpr int maxFrames = 64;
constexpr int minFrameMs = 10;
} // namespace

std::vector<unsigned char> encodeAnimation(const AnimationDescription& description)
{
    auto low = [](int value) { return static_cast<unsigned char>(value & 0xFF); };
    auto high = [](int value) { return static_cast<unsigned char>((value >> 8) & 0xFF); };
    return { low(description.frames), high(description.frames), low(description.frameMs), high(description.frameMs) };
}

AnimationDescription decodeAnimation(const unsigned char* data, std::size_t size)
{
    if (!data || size != 4)
        return {};
    AnimationDescription description { data[0] | (data[1] << 8), data[2] | (data[3] << 8) };
    if (description.frames < minFrames || description.frames > maxFrames || description.frameMs < minFrameMs)
        return {};
    return description;
}

AnimateControl::AnimateControl(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    connect(&ticks, &QTimer::timeout, this, [this] { update(); });
}

bool AnimateControl::open(int resourceId)
{
    close();
    Resource found = findResource(RT_ANIMATION, resourceId);
    animation = decodeAnimation(found.data, found.size);
    update();
    return isOpen();
}

void AnimateControl::close()
{
    stop();
    animation = {};
    update();
}

bool AnimateControl::play()
{
    if (!isOpen())
        return false;
    playing = true;
    started.start();
    ticks.start(animation.frameMs);
    update();
    return true;
}

void AnimateControl::stop()
{
    playing = false;
    ticks.stop();
    update();
}

int AnimateControl::currentFrame() const
{
    if (!playing || !isOpen())
        return 0;
    return static_cast<int>((started.elapsed() / animation.frameMs) % animation.frames);
}

void AnimateControl::paintEvent(QPaintEvent*)
{
    if (!isOpen())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    const int frames = animation.frames;
    const double side = std::min(width(), height());
    const double dot = std::max(1.5, side / 10.0);
    const double radius = side / 2.0 - dot - 1.0;
    const QPointF centre(width() / 2.0, height() / 2.0);
    // An animation runs in full colour even in a disabled window.
    const QColor ink = palette().color(QPalette::Active, QPalette::Highlight);
    const int head = currentFrame();
    constexpr double pi = 3.14159265358979323846;

    for (int i = 0; i < frames; ++i) {
        QColor colour = ink;
        if (playing) {
            // The head is solid, the dots behind it fade out.
            const int behind = (head - i + frames) % frames;
            colour.setAlphaF(std::max(0.15, 1.0 - behind * (1.0 / (frames * 0.6))));
        } else {
            colour = palette().color(QPalette::Active, QPalette::Mid);
        }
        painter.setBrush(colour);
        const double angle = 2.0 * pi * i / frames - pi / 2.0;
        const QPointF at = centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
        painter.drawEllipse(at, dot, dot);
    }
}

} // namespace platform
