#include "calibrate/CalibrateView.h"

#include "Utillib/DialogTemplateEditor.h"
#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "Utillib/WindowUtil.h"
#include "calibrate/PortRows.h"
#include "comm/Comm.h"
#include "comm/SerialPort.h"
#include "gettext/Translator.h"
#include "platform/Clock.h"
#include "platform/WindowStyles.h"
#include "platformqt/AnimateControl.h"
#include "platformqt/Controls.h"
#include "platformqt/MessageBox.h"
#include "platformqt/Window.h"
#include "res/resource.h"
#include "ui/AppServices.h"
#include "ui/ChildFrame.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QShowEvent>

#include <vector>

namespace {

// Posted to itself when the window is shown expanded; it then searches.
const QEvent::Type searchPortsEvent = static_cast<QEvent::Type>(QEvent::User + 214);

// The most seconds a calibration is waited for before it counts as failed.
constexpr int maxCalibrationWaits = 100;

} // namespace

CalibrateView::CalibrateView()
{
    portToRow.fill(-1);
    rowToPort.fill(-1);
}

CalibrateView::~CalibrateView() = default;

bool CalibrateView::create(QWidget* parent)
{
    isModal = false;
    return platform::Dialog::create(IDD_CALIBRATE, parent);
}

bool CalibrateView::runModal(QWidget* parent)
{
    isModal = true;
    DialogTemplateEditor editor(IDD_CALIBRATE);
    if (editor.isEmpty())
        return false;
    editor.setStyle(WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_SETFONT);
    editor.setCaption(translate("Communication"));
    if (!createIndirect(editor.data(), editor.size(), parent))
        return false;
    return doModal() == IDOK;
}

bool CalibrateView::onInitDialog()
{
    const bool result = BaseDialog::onInitDialog();
    animation = platform::dlgItem<platform::AnimateControl>(this, IDC_CALIBRATE_ANIMATION);
    comBox = platform::dlgItem<platform::CheckListBox>(this, IDC_CALIBRATE_PORTS);
    const bool animationOpened = animation && animation->open(IDR_SEARCH_ANIMATION);
    LOG_ASSERT_TEXT(animationOpened, "animation.Open(156)!=0");
    platform::setWindowText(platform::dlgItem(this, IDCANCEL), QString::fromStdWString(translate("Cancel")));
    CalibrateManager::get().connect(this, &CalibrateView::portTableChanged);

    // The status is what the user reads while the main window is disabled
    // around a search or a calibration: it keeps its colour then.
    if (QWidget* status = platform::dlgItem(this, IDC_CALIBRATE_STATUS)) {
        QPalette colours = status->palette();
        colours.setColor(QPalette::Disabled, QPalette::WindowText, colours.color(QPalette::Active, QPalette::WindowText));
        status->setPalette(colours);
    }

    fullSize = size();
    collapsedHeight = animation ? animation->geometry().bottom() + 1 + 2 : fullSize.height();
    setFixedSize(fullSize.width(), expanded ? fullSize.height() : collapsedHeight);
    return result;
}

void CalibrateView::setExpanded(bool expand)
{
    const bool wasCollapsed = !expanded;
    expanded = expand;
    if (!isCreated())
        return;
    setFixedSize(fullSize.width(), expanded ? fullSize.height() : collapsedHeight);
    if (isModal)
        return;
    ChildFrame* frame = parentFrame();
    if (!frame)
        return;
    frame->fitFrameToView();
    // Activating would show a frame that the Close action hid; a hidden
    // window only takes its new size.
    if (expanded && wasCollapsed && frame->isVisible())
        frame->activateFrame();
}

bool CalibrateView::checkCalibration()
{
    if (expanded)
        return errorFlag;
    searchPorts();
    calibrateSelected();
    if (CalibrateManager::get().countCalibrated() == 0) {
        setStatus(translate("No ports are calibrated"));
        setExpanded(true);
        repaint();
    }
    if (!expanded)
        onCancel();
    return errorFlag;
}

void CalibrateView::searchPorts()
{
    if (busy)
        return;
    beginBusy();
    setStatus(translate("Searching for COM ports..."));
    for (;;) {
        CalibrateManager::get().scanPorts();
        if (fillPortList() > 0)
            break;
        const int answer = messageBox(
            translate("No COM ports are available! If a port is used by another application, close the application and select 'Retry'."),
            platform::MB_RETRYCANCEL | platform::MB_ICONSTOP);
        setExpanded(true);
        if (answer != IDRETRY)
            break;
        showProgress();
    }
    setStatus(translate("Ready to calibrate"));
    endBusy();
}

int CalibrateView::fillPortList()
{
    const bool listExists = comBox != nullptr;
    const bool windowExists = isCreated();
    LOG_ASSERT_TEXT(listExists, "::IsWindow(comBox.m_hWnd)");
    LOG_ASSERT_TEXT(windowExists, "::IsWindow(m_hWnd)");
    if (!listExists || !windowExists)
        return 0;
    CalibrateManager& table = CalibrateManager::get();
    comBox->resetContent();
    portToRow.fill(-1);
    rowToPort.fill(-1);

    int listBoxIndex = 0;
    int counted = 0;
    for (int port = 1; port <= CalibrateManager::COM_PORTS; ++port) {
        if (!table.getIsValid(port))
            continue;
        const SerialPort* serial = table.getSerialPort(port);
        const PortRow row = portRow(!table.getIsAvailable(port),
                                    serial ? serial->openResult : SerialPort::OPEN_PORT_NOT_AVAILABLE,
                                    table.getIsCalibrated(port), table.getIsCPB(port));
        const std::wstring str = portRowText(port, row.stateText);
        const int addedAt = comBox->addString(platform::ansiToQString(GString::to_c_str(str)));
        LOG_ASSERT_TEXT(addedAt == listBoxIndex, "comBox.AddString(GString::to_c_str(str)) == listBoxIndex");
        comBox->setCheck(listBoxIndex, row.checked ? 1 : 0);
        comBox->enableItem(listBoxIndex, row.enabled);
        portToRow[port] = listBoxIndex;
        rowToPort[listBoxIndex] = port;
        ++listBoxIndex;
        if (row.counted)
            ++counted;
    }
    platform::setWindowText(platform::dlgItem(this, IDCANCEL), QString::fromStdWString(translate("Close")));
    comBox->show();
    updateCalibrateButton();
    return counted;
}

void CalibrateView::calibrateSelected()
{
    if (busy)
        return;
    beginBusy();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CalibrateManager& table = CalibrateManager::get();

    if (!comBox || comBox->getCount() == 0) {
        messageBox(translate("There are no com ports to calibrate! "), platform::MB_OK | platform::MB_ICONSTOP);
        setExpanded(true);
        setStatus(translate("Calibration Error"));
    } else {
        // The rows checked now are the ones calibrated: the list is refilled
        // while the results come in.
        std::vector<int> ports;
        for (int row = 0; row < comBox->getCount(); ++row)
            if (comBox->getCheck(row) == 1 && portOfRow(row) > 0)
                ports.push_back(portOfRow(row));
        for (int port : ports)
            table.startCalibration(port);

        setStatus(translate("Calibrating...\r\nStay clear of the manikin(s)."));
        platform::sleepMs(100);
        errorFlag = false;
        std::wstring errorText = translate("An error occurred during calibration.\n");
        bool anyCalibrated = false;
        for (int port : ports) {
            // A calibration that could not start is answered at once.
            int status = table.pollCalibration(port);
            for (int waits = 0; status == Comm::CAL_NOT_DONE && waits < maxCalibrationWaits; ++waits) {
                platform::sleepMs(1000);
                showProgress();
                status = table.pollCalibration(port);
            }
            if (status == Comm::CAL_NOT_DONE)
                status = Comm::CAL_TOO_FEW_BYTES;
            if (status == Comm::CAL_DONE) {
                table.setCalibrated(true, port);
                anyCalibrated = true;
            } else {
                errorFlag = true;
                errorText += calibrationErrorText(port, status);
                table.setCalibrated(false, port);
            }
            if (SerialPort* serial = table.getSerialPort(port))
                serial->close();
        }
        if (errorFlag) {
            messageBox(errorText, platform::MB_OK | platform::MB_ICONSTOP);
            setExpanded(true);
        }
        setStatus(anyCalibrated ? translate("Calibration done") : translate("Calibration Error"));
    }

    endBusy();
    table.emit();
    if (QWidget* search = platform::dlgItem(this, IDC_CALIBRATE_SEARCH))
        search->setFocus();
    QApplication::restoreOverrideCursor();
}

void CalibrateView::showHelp()
{
    if (AppServices* services = appServices())
        services->showHelp(helpContext);
}

int CalibrateView::portOfRow(int row) const
{
    return row >= 0 && row < static_cast<int>(rowToPort.size()) ? rowToPort[row] : -1;
}

int CalibrateView::rowOfPort(int port) const
{
    return port > 0 && port <= CalibrateManager::COM_PORTS ? portToRow[port] : -1;
}

bool CalibrateView::onCommand(int id, int code)
{
    if (id == IDC_CALIBRATE_SEARCH && code == BN_CLICKED) {
        searchPorts();
        if (QWidget* search = platform::dlgItem(this, IDC_CALIBRATE_SEARCH))
            search->setFocus();
        return true;
    }
    if (id == IDC_CALIBRATE_PORTS && (code == LBN_SELCHANGE || code == CLBN_CHKCHANGE)) {
        updateCalibrateButton();
        return true;
    }
    return BaseDialog::onCommand(id, code);
}

void CalibrateView::onOK() { calibrateSelected(); }

void CalibrateView::onCancel()
{
    setStatus(L"");
    if (isModal)
        endDialog(IDCANCEL);
    else
        hideParentFrame();
}

void CalibrateView::showEvent(QShowEvent* event)
{
    BaseDialog::showEvent(event);
    if (expanded && !event->spontaneous() && !searchPosted) {
        searchPosted = true;
        QCoreApplication::postEvent(this, new QEvent(searchPortsEvent));
    }
}

bool CalibrateView::event(QEvent* event)
{
    if (event->type() == searchPortsEvent) {
        searchPosted = false;
        searchPorts();
        return true;
    }
    return BaseDialog::event(event);
}

void CalibrateView::portTableChanged()
{
    if (isCreated())
        fillPortList();
}

void CalibrateView::updateCalibrateButton()
{
    bool anyChecked = false;
    for (int row = 0; comBox && row < comBox->getCount() && !anyChecked; ++row)
        anyChecked = comBox->getCheck(row) == 1;
    Utillib::enableWithFocus(platform::dlgItem(this, IDOK), anyChecked);
}

void CalibrateView::setStatus(const std::wstring& text)
{
    platform::setWindowText(platform::dlgItem(this, IDC_CALIBRATE_STATUS), QString::fromStdWString(text));
    if (busy)
        showProgress();
}

int CalibrateView::messageBox(const std::wstring& text, unsigned flags)
{
    // The wait cursor of a calibration is not the box's.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = platform::messageBox(this, text, translate("Calibration Error"), flags);
    QApplication::restoreOverrideCursor();
    return answer;
}

void CalibrateView::beginBusy()
{
    busy = true;
    if (animation)
        animation->play();
    if (!isModal)
        if (AppServices* services = appServices())
            services->disableMainWindow(this);
}

void CalibrateView::endBusy()
{
    if (!isModal)
        if (AppServices* services = appServices())
            services->enableMainWindow(this);
    if (animation)
        animation->stop();
    busy = false;
}

// The thread is blocked while the work goes on: paint now what changed.
void CalibrateView::showProgress()
{
    if (isVisible())
        repaint();
}
