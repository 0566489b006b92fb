#include "ui/ResizableDialog.h"

#include "gettext/TranslateWindow.h"
#include "Utillib/WindowUtil.h"
#include "platform/WindowStyles.h"
#include "platformqt/Window.h"
#include "ui/QtWindows.h"

#include <QResizeEvent>

namespace {
// Neither side of a dialog may exceed this many pixels of client area.
constexpr int largestClient = 10000;
} // namespace

ResizableDialog::ResizableDialog(UINT templateId, QWidget* parent) : templateId(templateId), templateParent(parent) {}

ResizableDialog::ResizableDialog() = default;

ResizableDialog::~ResizableDialog() { delete layout; }

int ResizableDialog::doModal()
{
    if (!isCreated() && !create(static_cast<int>(templateId), templateParent))
        return -1;
    return platform::Dialog::doModal();
}

bool ResizableDialog::createFitted(UINT id, QWidget* parent)
{
    return Utillib::createDialogFitted(this, static_cast<int>(id), parent);
}

bool ResizableDialog::onInitDialog()
{
    const bool result = platform::Dialog::onInitDialog();
    if (result)
        translateWindow(this);
    initialised = true;
    const QSize frame = frameGeometry().size();
    borderWidth = frame.width() - width();
    borderHeight = frame.height() - height();
    updateSizeLimits();
    return result;
}

void ResizableDialog::setLayout(const LayoutItemHandle& handle, bool noMin)
{
    noMinimum = noMin;
    LayoutItem* copy = handle ? handle->clone() : nullptr;
    delete layout;
    layout = copy;
    if (layout)
        layout->init(toRECT(rect()));
    updateSizeLimits();
}

void ResizableDialog::resizeEvent(QResizeEvent* event)
{
    platform::Dialog::resizeEvent(event);
    onSize(0, event->size().width(), event->size().height());
}

void ResizableDialog::onSize(UINT, int, int)
{
    if (initialised && layout)
        layout->setRect(toRECT(rect()));
}

void ResizableDialog::onGetMinMaxInfo(MinMaxInfo* info)
{
    if (!initialised)
        return;
    if (!noMinimum) {
        const RECT minimum = layout ? layout->getMinRect() : RECT{};
        info->minTrackSize = SIZE{borderWidth + (minimum.right - minimum.left), borderHeight + (minimum.bottom - minimum.top)};
    }
    info->maxTrackSize = SIZE{borderWidth + largestClient, borderHeight + largestClient};
}

// Qt limits the client area, so the border comes off again.
void ResizableDialog::updateSizeLimits()
{
    // A template without a sizing border keeps the fixed size it was built with.
    if (!(platform::windowStyle(this) & WS_THICKFRAME))
        return;
    MinMaxInfo info;
    info.minTrackSize = SIZE{borderWidth, borderHeight};
    info.maxTrackSize = SIZE{borderWidth + QWIDGETSIZE_MAX, borderHeight + QWIDGETSIZE_MAX};
    onGetMinMaxInfo(&info);
    setMinimumSize(std::max(0, info.minTrackSize.cx - borderWidth), std::max(0, info.minTrackSize.cy - borderHeight));
    setMaximumSize(std::max(0, info.maxTrackSize.cx - borderWidth), std::max(0, info.maxTrackSize.cy - borderHeight));
}
