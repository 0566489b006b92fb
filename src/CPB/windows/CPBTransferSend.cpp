// Sending the setup: the send selector, then one progress window per chosen
// controller while CPBSend writes the setup into it.
#include "CPB/CPBSend.h"
#include "CPB/EventIconImages.h"
#include "CPB/windows/CPBTransfer.h"
#include "CPB/windows/ProgressDialog.h"
#include "CPB/windows/TransferPump.h"
#include "CPB/windows/TransferSelectors.h"
#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "comm/CalibrateManager.h"
#include "gettext/Translator.h"
#include "platform/WindowStyles.h"
#include "ui/ToolBar.h"

#include <QApplication>
#include <QPointer>

namespace {

// The program's event icons as the pictures sent to a controller's icon
// slots and screens: the icons of the 24- and 32-pixel image lists (their
// mask colour transparent), each size taken on first use and kept until the
// program ends. Kept as images, which outlive the application safely.
class EventIconListImages : public EventIconImages {
public:
    QImage image24(int number) const override { return pick(icons(1), number); }
    QImage image32(int number) const override { return pick(icons(2), number); }

private:
    static QImage pick(const std::vector<QImage>& list, int number)
    {
        return number >= 0 && number < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(number)]
                                                                      : QImage();
    }
    static std::vector<QImage> load(int size)
    {
        const EventIconList list(size);
        std::vector<QImage> images;
        for (int i = 0; i < list.count(); ++i)
            images.push_back(list.icon(i).toImage());
        return images;
    }
    static const std::vector<QImage>& icons(int size)
    {
        if (size == 1) {
            static const std::vector<QImage> small = load(1);
            return small;
        }
        static const std::vector<QImage> large = load(2);
        return large;
    }
};

void useEventIcons()
{
    static const EventIconListImages images;
    if (!EventIconImages::installed())
        EventIconImages::install(&images);
}

// A send's advance shown in its progress window, for as long as the window is there.
class WindowProgress : public SendProgress {
public:
    explicit WindowProgress(ProgressDialog* window)
        : window(window)
    {
    }
    void setText(const std::wstring& text) override
    {
        if (window)
            window->setText(text);
    }
    void step(int n) override
    {
        if (window)
            window->step(n);
    }

private:
    QPointer<ProgressDialog> window;
};

// Whether a transfer window over `owner` still shows its outcome.
bool outcomeShown(QWidget* owner)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* progress = qobject_cast<ProgressDialog*>(window);
        if (progress && progress->isVisible() && progress->owner() == owner)
            return true;
    }
    return false;
}

} // namespace

int CPBTransfer::sendSetup(const PropertyModel* model, QWidget* parent)
{
    CPBSendSelector selector;
    selector.candList = CalibrateManager::get().getCPBPorts();
    const int result = selector.doModal();
    if (result != IDOK)
        return result;
    const std::vector<int> ports = selector.chosen();
    useEventIcons();
    CPBSend sender;
    // A failure on one controller does not stop the others.
    for (std::size_t i = 0; i < ports.size(); ++i)
        sender.send(ports[i], model, parent, i + 1 == ports.size());
    return result;
}

bool CPBSend::send(int port, const PropertyModel* model, QWidget* parent, bool last)
{
    LOG_ASSERT(model != 0);
    SerialPort* serial = CalibrateManager::get().getSerialPort(port);
    LOG_ASSERT(serial != 0);
    if (!model || !serial)
        return false;
    TransferPump pump;

    // The owner may go while the transfer lets events through: only guarded
    // pointers are used once it is over.
    QPointer<ProgressDialog> window(new ProgressDialog);
    if (!window->create(parent)) {
        LogStream::instance() << "The progress window of a send could not be created" << LogStream::endl;
        delete window.data();
        return false;
    }
    const QPointer<QWidget> owner(parent ? parent->window() : nullptr);
    window->setCaption(translate("Tavo CPR Controller on COM") + GString::from_int(port));
    window->enableButton(false);
    window->show();

    WindowProgress shown(window);
    SendProgress* before = progress;
    progress = &shown;
    const bool ok = transfer(*serial, *model);
    progress = before;

    if (window) {
        window->setButtonText(translate("Close"));
        if (ok)
            window->setText(translate("Transfer done."));
        else
            window->setText(failureText().empty() ? translate("An error occurred, please try again.") : failureText());
        window->enableButton(true);
    }
    // Every controller's window stays with its outcome, so that a failure is
    // never hidden by a later success. The last send returns once the user
    // has closed them all (or their owner went), so a caller that closes the
    // owner next cannot take the outcomes away unseen.
    const bool ownerGone = parent && !owner;
    if (last && !ownerGone) {
        while (outcomeShown(owner.data()))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return ok;
}
