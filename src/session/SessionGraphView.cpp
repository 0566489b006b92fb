#include "session/SessionGraphView.h"

#include "Utillib/LogStream.h"
#include "gettext/Translator.h"
#include "session/GraphView.h"
#include "session/LabelPictures.h"
#include "session/SessionManager.h"
#include "platformqt/Window.h"
#include "ui/AppServices.h"
#include "ui/ToolTips.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimerEvent>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QString tr8(const char* key) { return QString::fromStdWString(translate(key)); }

QString minSec(unsigned s) { return QString::asprintf("%u:%02u", s / 60, s % 60); }

constexpr int optionIds[4] = { 1003, 1001, 1013, 1321 }; // in the manager's order

} // namespace

SessionGraphView::SessionGraphView(Session& owner, QWidget* parent)
    : QWidget(parent)
    , session(&owner)
{
    pauseText = tr8("Pause");
    for (const EventButton& button : owner.eventToolBar())
        eventModel.addButton(ToolBarEntry(button.id, button.name, button.toolTip, button.eventType));

    // The graphs, the axis between them, the event bars and the scroll bar.
    ventView = new GraphView(owner.ventilationDoc, this);
    compView = new GraphView(owner.compressionDoc, this);
    axisCtrl = new AxisCtrl(owner, this, this);
    ventView->setAxisCtrl(axisCtrl);
    compView->setAxisCtrl(axisCtrl);
    axisCtrl->setViewIndexes(axisCtrl->model.indexesForMs(20000));
    eventBarsShown = owner.registerEvents;
    if (owner.registerEvents) {
        for (int bar = 0; bar < 2; ++bar) {
            eventBars[bar] = new QToolBar(this);
            eventBars[bar]->setIconSize(QSize(eventModel.buttonWidth, eventModel.buttonHeight));
            eventBars[bar]->setToolButtonStyle(Qt::ToolButtonIconOnly);
            eventModel.createButtons(eventBars[bar]);
            QObject::connect(eventBars[bar], &QToolBar::actionTriggered, this, [this, bar](QAction* action) {
                onEventButton(bar, action->property("commandId").toInt());
            });
        }
        eventBarHeight = eventModel.buttonHeight + 6 + 6;
    }
    scroll = new QScrollBar(Qt::Horizontal, this);
    scroll->hide();
    QObject::connect(scroll, &QScrollBar::actionTriggered, this, [this](int action) { onScroll(action); });

    // The column of controls on the left.
    column = new QWidget(this);
    auto* columnLayout = new QVBoxLayout(column);
    columnLayout->setContentsMargins(4, 4, 4, 4);
    start = new QPushButton(tr8("Start"), column);
    pause = new QPushButton(pauseText, column);
    start->setEnabled(false);
    QObject::connect(start, &QPushButton::clicked, this, [this] { session->start(); });
    QObject::connect(pause, &QPushButton::clicked, this, [this] { session->pause(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(start);
    buttons->addWidget(pause);
    columnLayout->addLayout(buttons);

    timeGroup = new QGroupBox(tr8("Time"), column);
    auto* timeLayout = new QVBoxLayout(timeGroup);
    progressBar = new QProgressBar(timeGroup);
    progressBar->setTextVisible(false);
    timeLayout->addWidget(progressBar);
    columnLayout->addWidget(timeGroup);
    const int duration = static_cast<int>(owner.getRecord().Duration);
    if (duration == -1) {
        progressBar->setEnabled(false);
    } else {
        progressBar->setRange(0, std::max(duration, 1));
    }

    auto* zoomGroup = new QGroupBox(tr8("Zoom"), column);
    auto* zoomLayout = new QGridLayout(zoomGroup);
    zoomList = new QComboBox(zoomGroup);
    zoomSpin = new QSpinBox(zoomGroup);
    zoomSpin->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    zoomSpin->setFixedWidth(18);
    zoomSpin->setRange(0, static_cast<int>(std::size(zoomSpans)) - 1);
    magnify = new QPushButton(QStringLiteral("+"), zoomGroup);
    demagnify = new QPushButton(QStringLiteral("-"), zoomGroup);
    magnify->setCheckable(true);
    demagnify->setCheckable(true);
    magnify->setEnabled(false);
    demagnify->setEnabled(false);
    zoomLayout->addWidget(zoomList, 0, 0);
    zoomLayout->addWidget(zoomSpin, 0, 1);
    zoomLayout->addWidget(magnify, 1, 0);
    zoomLayout->addWidget(demagnify, 1, 1);
    columnLayout->addWidget(zoomGroup);
    fillZoomCombo(20000);
    QObject::connect(zoomList, &QComboBox::activated, this, [this](int index) { onZoomSelected(index); });
    QObject::connect(zoomSpin, &QSpinBox::valueChanged, this, [this](int index) {
        if (index != zoomList->currentIndex()) {
            zoomList->setCurrentIndex(index);
            onZoomSelected(index);
        }
    });
    QObject::connect(magnify, &QPushButton::clicked, this, [this] {
        axisCtrl->setMouseMode(axisCtrl->getMouseMode() == AxisCtrl::ZOOM ? 2 : AxisCtrl::ZOOM);
    });
    QObject::connect(demagnify, &QPushButton::clicked, this, [this] { axisCtrl->setMouseMode(AxisCtrl::ZOOM_ALL); });

    auto* showGroup = new QGroupBox(tr8("Show"), column);
    auto* showLayout = new QVBoxLayout(showGroup);
    const char* optionTexts[4] = { "Events", "Problems", "C/R ratio", "Cardiac out." };
    for (int option : { SessionManager::PROBLEMS, SessionManager::EVENTS, SessionManager::RATIOS,
                        SessionManager::CARDIAC_OUTPUT }) {
        optionBoxes[option] = new QCheckBox(tr8(optionTexts[option]), showGroup);
        showLayout->addWidget(optionBoxes[option]);
        if (sessionManager) {
            sessionManager->displayOptions[option].changed.connect(this, &SessionGraphView::onDisplayOption);
            optionBoxes[option]->setChecked(sessionManager->displayOptions[option].on);
        }
        QObject::connect(optionBoxes[option], &QCheckBox::clicked, this, [option](bool on) {
            if (sessionManager)
                sessionManager->setDisplayOption(option, on);
        });
    }
    if (!owner.registerEvents)
        optionBoxes[SessionManager::EVENTS]->setEnabled(false);
    else if (sessionManager)
        onDisplayOption(optionIds[SessionManager::EVENTS], sessionManager->displayOptions[SessionManager::EVENTS].on);
    columnLayout->addWidget(showGroup);
    columnLayout->addStretch(1);

    abort = new QPushButton(tr8("Abort"), column);
    print = new QPushButton(tr8("Print..."), column);
    help = new QPushButton(tr8("Help"), column);
    debriefing = new QPushButton(tr8("Debriefing >>"), column);
    for (QPushButton* button : { abort, print, help, debriefing })
        columnLayout->addWidget(button);
    QObject::connect(abort, &QPushButton::clicked, this, [this] { onAbort(); });
    QObject::connect(debriefing, &QPushButton::clicked, this, [this] { session->setState(Session::DEBRIEF); });
    QObject::connect(print, &QPushButton::clicked, this, [this] {
        if (session)
            session->print(false);
    });
    QObject::connect(help, &QPushButton::clicked, this, [this] {
        if (AppServices* app = appServices())
            app->showHelp(helpContext());
    });

    // The captions over and under the graphs.
    QFont captionFont = font();
    captionFont.setBold(true);
    ventCaption = new QLabel(this);
    compCaption = new QLabel(this);
    ventCaption->setFont(captionFont);
    compCaption->setFont(captionFont);
    readout = new ReadoutStatic(this);
    rateLabel = new QLabel(tr8("- comp./min"), this);
    rateLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ventView->readout = readout;
    compView->readout = readout;

    // The controls' ids, by which their tooltips are found.
    const std::pair<QWidget*, int> controlIds[] = {
        { start, 1018 }, { pause, 1023 }, { abort, 2 }, { debriefing, 1019 }, { zoomList, 1010 },
        { zoomSpin, 1024 }, { magnify, 1025 }, { demagnify, 1026 }, { readout, 1007 },
        { optionBoxes[SessionManager::EVENTS], 1003 }, { optionBoxes[SessionManager::PROBLEMS], 1001 },
        { optionBoxes[SessionManager::RATIOS], 1013 }, { optionBoxes[SessionManager::CARDIAC_OUTPUT], 1321 },
    };
    for (const auto& [control, id] : controlIds)
        platform::setControlId(control, id);
    forwardToolTips(this);

    owner.addUpdateReceiver(this); // after the axis: each tick reaches the axis first
    updateControls();
    resize(760, 520);
}

SessionGraphView::~SessionGraphView()
{
    if (blinkTimer)
        killTimer(blinkTimer);
    detach();
}

void SessionGraphView::detach()
{
    if (!session)
        return;
    session->removeUpdateReceiver(this);
    session = nullptr;
    // The graphs and the axis leave the session's channels now: the session
    // may be deleted before these windows are.
    ventView->detach();
    compView->detach();
    axisCtrl->detach();
}

void SessionGraphView::fillZoomCombo(int key)
{
    zoomList->clear();
    int selected = -1;
    for (int ms : zoomSpans) {
        const QString text = ms < 60000 ? QString::number(ms / 1000) + tr8(" sec.")
                                        : QString::number(ms / 60000) + tr8(" min.");
        zoomList->addItem(text, ms);
        if (ms == key)
            selected = zoomList->count() - 1;
    }
    LOG_ASSERT(selected != -1);
    zoomList->setCurrentIndex(selected);
    zoomSpin->setValue(std::max(selected, 0));
}

void SessionGraphView::onZoomSelected(int index)
{
    if (!session || index < 0)
        return;
    const int n = axisCtrl->model.indexesForMs(zoomList->itemData(index).toInt());
    zoomSpin->blockSignals(true);
    zoomSpin->setValue(index);
    zoomSpin->blockSignals(false);
    if (session->isRunning())
        axisCtrl->setViewIndexes(n);
    else
        axisCtrl->setRange(std::max(axisCtrl->model.lastUpdateIndex - n, 0), n);
    updateScrollBar();
}

void SessionGraphView::syncZoomCombo()
{
    if (!zoomList)
        return;
    const int span = static_cast<int>(axisCtrl->model.msOfIndex(axisCtrl->model.viewIndexes));
    int nearest = 0;
    int match = -1;
    for (int k = 0; k < static_cast<int>(std::size(zoomSpans)); ++k) {
        if (std::abs(zoomSpans[k] - span) <= 999 && match < 0)
            match = k;
        if (std::abs(zoomSpans[k] - span) < std::abs(zoomSpans[nearest] - span))
            nearest = k;
    }
    zoomList->setCurrentIndex(match);
    zoomSpin->blockSignals(true);
    zoomSpin->setValue(match >= 0 ? match : nearest);
    zoomSpin->blockSignals(false);
    updateScrollBar();
}

void SessionGraphView::updateScrollBar()
{
    if (!scrollBarShown)
        return;
    const AxisModel& m = axisCtrl->model;
    const int maximum = std::max(m.lastUpdateIndex - 1, m.leftIndex + m.viewIndexes - 1);
    // QScrollBar's maximum is the highest left position: the range less one page.
    scroll->blockSignals(true);
    scroll->setRange(0, std::max(maximum - m.viewIndexes + 1, 0));
    scroll->setPageStep(m.viewIndexes);
    scroll->setSingleStep(std::max(m.viewIndexes / 10, 1));
    scroll->setValue(m.leftIndex);
    scroll->blockSignals(false);
}

void SessionGraphView::onScroll(int)
{
    // The bar has already moved its slider by the action; clamp and apply.
    const int position = std::clamp(scroll->sliderPosition(), 0, scroll->maximum());
    if (position != axisCtrl->model.leftIndex)
        axisCtrl->setLeftIndex(position);
}

void SessionGraphView::setCursorMode(int axisMode)
{
    cursor = axisMode == AxisCtrl::ZOOM ? 1 : axisMode == AxisCtrl::ZOOM_ALL ? 2 : 0;
    magnify->setChecked(cursor == 1);
    demagnify->setChecked(cursor == 2);
    const Qt::CursorShape shape = cursor == 1 ? Qt::CrossCursor : cursor == 2 ? Qt::SizeHorCursor : Qt::ArrowCursor;
    ventView->setCursor(shape);
    compView->setCursor(shape);
}

void SessionGraphView::onDisplayOption(int id, bool on)
{
    for (int option = 0; option < 4; ++option)
        if (optionIds[option] == id && optionBoxes[option])
            optionBoxes[option]->setChecked(on);
    if (id == optionIds[SessionManager::EVENTS] && session && session->registerEvents)
        for (QToolBar* bar : eventBars)
            if (bar)
                eventModel.enableButtons(bar, on);
}

void SessionGraphView::onEventButton(int bar, int commandId)
{
    if (!session)
        return;
    const ToolBarEntry* entry = eventModel.findButton(commandId);
    LOG_ASSERT_TEXT(entry != nullptr, "event!=0");
    if (!entry)
        return;
    GraphDoc& doc = bar == 0 ? session->ventilationDoc : session->compressionDoc;
    doc.addEvent(entry->id, entry->name, entry->toolTip, entry->image);
}

void SessionGraphView::onAbort()
{
    Session* current = session;
    if (current && current->askSave()) {
        current->pause();
        // Closes (and may delete) the session and this page: nothing after it.
        current->close();
    }
}

void SessionGraphView::onUpdate(int newestIndex)
{
    LOG_ASSERT(newestIndex >= 0);
    if (!session)
        return;
    const int s = static_cast<int>(axisCtrl->model.msOfIndex(newestIndex) / 1000);
    if (s != lastSecond) {
        QString caption = minSec(static_cast<unsigned>(s));
        const int duration = static_cast<int>(session->getRecord().Duration);
        if (duration != -1)
            caption += QStringLiteral(" / ") + minSec(static_cast<unsigned>(duration));
        timeGroup->setTitle(caption);
        if (duration != -1)
            progressBar->setValue(std::min(s, progressBar->maximum()));
        lastSecond = s;
    }
    const double rateValue = session->getCommSession().compressionDetector.rate;
    const int rate = rateValue < 0 ? -1 : static_cast<int>(rateValue);
    if (rate != lastRate) {
        rateLabel->setText(rate == -1 ? tr8("- comp./min") : QString::number(rate) + QLatin1Char(' ') + tr8("comp./min"));
        lastRate = rate;
    }
}

void SessionGraphView::setScrollBarShown(bool shown)
{
    if (shown == scrollBarShown)
        return;
    scrollBarShown = shown;
    scroll->setVisible(shown);
    layoutPage();
    updateScrollBar();
}

void SessionGraphView::updateControls()
{
    if (!session)
        return;
    if (session->isRunning()) {
        pause->setEnabled(true);
        start->setEnabled(false);
        debriefing->setEnabled(false);
        print->setEnabled(false);
        if (timeGroup->title() == pauseText)
            timeGroup->setTitle(savedTimeCaption);
        if (blinkTimer) {
            killTimer(blinkTimer);
            blinkTimer = 0;
        }
        if (session->registerEvents)
            for (QToolBar* bar : eventBars)
                bar->show();
        eventBarsShown = session->registerEvents;
        setScrollBarShown(false);
        magnify->setEnabled(false);
        demagnify->setEnabled(false);
        axisCtrl->setMouseMode(AxisCtrl::NORMAL);
    } else {
        if (session->isFinished()) {
            abort->setText(tr8("Close"));
            start->setEnabled(false);
        } else {
            if (!blinkTimer) {
                savedTimeCaption = timeGroup->title();
                blinkTimer = startTimer(1000);
            }
            timeGroup->setTitle(pauseText);
            blinkShowsPause = true;
            start->setEnabled(!session->isReplay());
        }
        const bool anything = session->elapsedSeconds() != 0;
        debriefing->setEnabled(anything);
        print->setEnabled(anything);
        pause->setEnabled(false);
        if (session->registerEvents)
            for (QToolBar* bar : eventBars)
                bar->hide();
        eventBarsShown = false;
        setScrollBarShown(true);
        magnify->setEnabled(true);
        demagnify->setEnabled(true);
    }
    layoutPage();
    // The background tells running from paused.
    axisCtrl->redrawViews();
}

void SessionGraphView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != blinkTimer)
        return;
    if (!session || session->isRunning() || session->isFinished()) {
        killTimer(blinkTimer);
        blinkTimer = 0;
        return;
    }
    blinkShowsPause = !blinkShowsPause;
    timeGroup->setTitle(blinkShowsPause ? pauseText : savedTimeCaption);
}

void SessionGraphView::showEvent(QShowEvent*)
{
    if (!session)
        return;
    ventCaption->setText(QString::fromStdWString(session->ventilationDoc.getDescription().title + L": "
                                                 + session->ventilationPerson()));
    compCaption->setText(QString::fromStdWString(session->compressionDoc.getDescription().title + L": "
                                                 + session->compressionPerson()));
}

void SessionGraphView::resizeEvent(QResizeEvent*) { layoutPage(); }

void SessionGraphView::layoutPage()
{
    const int W = width();
    const int H = height();
    const int x = std::max(column->sizeHint().width(), 150);
    column->setGeometry(0, 0, x, H);
    const int w = std::max(W - x, 0);
    const int f = QFontMetrics(ventCaption->font()).height();
    const int r = std::max(rateLabel->sizeHint().height(), f);
    const int e = eventBarsShown ? eventBarHeight : 0;
    const int a = axisCtrl->labelFontHeight();
    const int s = scroll->sizeHint().height();

    ventCaption->setGeometry(x, 0, 3 * w / 5, r);
    readout->setGeometry(x + 3 * w / 5, 0, w - 3 * w / 5, r);
    if (eventBars[0])
        eventBars[0]->setGeometry(x, r + 3, w, std::max(e - 3, 0));
    int bottom = H;
    if (scrollBarShown) {
        scroll->setGeometry(x, H - s, w, s);
        bottom = H - s - 1;
    }
    compCaption->setGeometry(x, bottom - r, 3 * w / 5, r);
    rateLabel->setGeometry(x + 3 * w / 5, bottom - r, w - 3 * w / 5, r);
    if (eventBars[1])
        eventBars[1]->setGeometry(x, bottom - r - e + 3, w, std::max(e - 3, 0));
    const int g = (bottom - r - 2 * e - r - a) / 2;
    LOG_ASSERT(w < 40000);
    LOG_ASSERT(g < 40000);
    axisCtrl->setGeometry(x, e + r + std::max(g, 0), w, a);
    if (g > 0) {
        ventView->setGeometry(x, e + r, w, g);
        compView->setGeometry(x, e + r + g + a, w, g);
    }
}

void SessionGraphView::setPrintRange(int minutes)
{
    if (!session)
        return;
    const AxisModel& m = axisCtrl->model;
    const int t = std::max(session->getCommSession().getFirstActivityTime(), 0);
    const int span = m.indexesForMs(minutes * 60000.0);
    const int end = std::min(span + m.indexesForMs(t * 1000.0), m.lastUpdateIndex);
    const int left = std::max(end - span, 0);
    axisCtrl->setRange(left, std::max(end - left, 1));
}

void SessionGraphView::printGraphs(QPainter& painter, const QRect& rect, bool monochrome)
{
    constexpr int frameWidth = 3;
    painter.save();
    painter.setClipRect(rect);
    // The printed labels have their own small font; the label room and the
    // group rows of the graphs follow it.
    const QFont printFont = axisCtrl->printFont(painter.device());
    const int a = QFontMetrics(printFont).height();
    const int g = (rect.height() - a) / 2;
    for (GraphView* view : { ventView, compView }) {
        GraphPainter graph = view->graphPainter();
        graph.printing = true;
        graph.monochrome = monochrome;
        graph.labelsInPicture = true;
        // The options of this moment, whether or not the page was ever drawn.
        graph.options = GraphView::currentOptions();
        graph.labelFont = printFont;
        // The labels with their halo stay clear of the frame drawn around the graphs.
        graph.labelInset = frameWidth + labelHaloReach(printFont);
        graph.plot = view == ventView ? QRect(rect.left(), rect.top(), rect.width(), g)
                                      : QRect(rect.left(), rect.bottom() - g + 1, rect.width(), g);
        graph.tickStepMs
            = axisCtrl->model.tickStep(rect.width(), QFontMetrics(printFont).horizontalAdvance(QStringLiteral("000:00")));
        graph.redraw(painter, false);
    }
    axisCtrl->drawLabels(painter, QRect(rect.left(), rect.top() + g, rect.width(), rect.height() - 2 * g), false,
                         printFont, frameWidth);
    painter.setClipping(false);
    painter.setPen(QPen(Qt::black, frameWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(QRect(QPoint(rect.left(), rect.top() + g), QPoint(rect.right(), rect.bottom() - g - 1)));
    painter.restore();
}
