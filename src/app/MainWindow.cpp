#include "app/MainWindow.h"

#include "about/OpenAddress.h"
#include "app/CommandId.h"
#include "app/ControlFactory.h"
#include "app/ControlTemplate.h"
#include "app/DialogUnits.h"
#include "app/InstanceChannel.h"
#include "app/StatusBar.h"
#include "app/WindowPlacement.h"
#include "display/AddressLinks.h"
#include "display/LogView.h"
#include "find/FindBar.h"
#include "find/FindController.h"
#include "print/SystemPrintTarget.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <algorithm>
#include <chrono>
#include <cstdio>

namespace ombrel {

namespace {

QString objectNameFor(int id) {
    return QStringLiteral("control%1").arg(id);
}
} // namespace

MainWindow::MainWindow(MainWindowSetup setup, QWidget* parent)
    : QMainWindow(parent), setup_(std::move(setup)), icons_(Icons::load()),
      fileSystem_(setup_.fileSystem ? setup_.fileSystem : std::make_shared<LocalFileSystem>()),
      monitor_(*fileSystem_,
               MonitorInitialValues{setup_.startup.sourceText, setup_.startup.checkInterval,
                                    setup_.startup.byteCount}),
      pipeline_(*fileSystem_), recentFiles_(setup_.settings), windowFont_(setup_.startup.faceName) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Ombrel 2.0"));
    setWindowIcon(icons_.application);
    setMinimumSize(minimumWindowSize);
    setAcceptDrops(true);
    createControls();
    createMenus();
    createShortcuts();
    initialise();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls() {
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    setCentralWidget(client_);
    const DialogUnits units(font());

    for (const ControlSpec& spec : mainWindowTemplate()) {
        QWidget* widget = createControl(spec, units, client_);
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            // Buttons and check boxes send their identifier, as the command table expects.
            connect(button, &QAbstractButton::clicked, this,
                    [this, id = spec.id] { dispatchCommand(id); });
        }
        if (spec.id != 0) {
            controls_[spec.id] = widget;
        }
    }

    fileNameBox_ = qobject_cast<QComboBox*>(control(IdFileNameBox));
    intervalBox_ = qobject_cast<QComboBox*>(control(IdIntervalBox));
    countBox_ = qobject_cast<QLineEdit*>(control(IdCountBox));
    countLabel_ = qobject_cast<QLabel*>(control(IdCountLabel));
    startButton_ = qobject_cast<QPushButton*>(control(IdStart));
    exitButton_ = qobject_cast<QPushButton*>(control(IdExitPause));
    printButton_ = qobject_cast<QPushButton*>(control(IdPrintButton));
    headBox_ = qobject_cast<QCheckBox*>(control(IdHead));
    display_ = qobject_cast<LogView*>(control(IdDisplay));

    // Boxes are named by their labels, as a screen reader announces them.
    fileNameBox_->setAccessibleName(QStringLiteral("Filename"));
    intervalBox_->setAccessibleName(QStringLiteral("Secs between Checks"));
    qobject_cast<QLabel*>(control(IdFileNameLabel))->setBuddy(fileNameBox_);
    qobject_cast<QLabel*>(control(IdIntervalLabel))->setBuddy(intervalBox_);
    countLabel_->setBuddy(countBox_);
    countLabelWidth_ = countLabel_->width();
    setCountLabel(countLabel_->text());
    display_->setAccessibleName(QStringLiteral("Display"));
    // Addresses in the log open in the browser; only the address rule decides which may.
    display_->setLinkFinder([](const DisplayModel& model, std::int64_t position) {
        const std::optional<AddressRange> link = AddressLinks::inText(model.content(), position);
        return link ? std::optional<TextSelection>({link->start, link->end}) : std::nullopt;
    });
    connect(display_, &LogView::linkActivated, this, [this](std::int64_t start, std::int64_t end) {
        openAddress(AddressLinks::addressOf(display_->model()->mid(start, end - start)), this);
    });
    findBar_ = new FindBar(client_);
    finder_ = std::make_unique<FindController>(*findBar_, *display_);
    connect(findBar_, &FindBar::closed, this, [this] {
        findBarClosed();
        setMinimumSize(minimumWindowSize);
    });

    // Drops land on the window, whatever control is under them.
    for (QWidget* child : client_->findChildren<QWidget*>()) {
        child->setAcceptDrops(false);
    }

    statusBar_ = new StatusBar(this);
    statusBar_->setObjectName(objectNameFor(IdStatusBar));
    setStatusBar(statusBar_);

    // The client area of the template holds the status bar along its bottom edge.
    const QSize client = units.toPixels(QRect(QPoint(0, 0), mainWindowDialogSize())).size();
    client_->resize(client.width(), client.height() - statusBar_->sizeHint().height());
    displayBottomGap_ = std::max(0, client_->height() - display_->geometry().bottom() - 1);
    client_->installEventFilter(this);
}

void MainWindow::createMenus() {
    struct Item {
        int id; // 0 for a separator
        QString text;
    };
    const auto addMenu = [this](const QString& title, const std::vector<Item>& items) {
        QMenu* menu = menuBar()->addMenu(title);
        for (const Item& item : items) {
            if (item.id == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(item.text);
            action->setObjectName(QStringLiteral("action%1").arg(item.id));
            connect(action, &QAction::triggered, this,
                    [this, id = item.id] { dispatchCommand(id); });
            actions_[item.id] = action;
        }
    };
    addMenu(QStringLiteral("&File"), {{IdLaunchEditor, QStringLiteral("Launch Editor")},
                                      {IdLaunchNew, QStringLiteral("Launch New Ombrel")},
                                      {0, {}},
                                      {IdPrint, QStringLiteral("Print...")},
                                      {0, {}},
                                      {IdExit, QStringLiteral("Exit")}});
    addMenu(QStringLiteral("&Edit"), {{IdCopy, QStringLiteral("&Copy")},
                                      {IdSelectAll, QStringLiteral("Select &All")},
                                      {0, {}},
                                      {IdFind, QStringLiteral("&Find...")},
                                      {IdFindNext, QStringLiteral("Find &Next")},
                                      {IdFindPrevious, QStringLiteral("Find &Previous")},
                                      {0, {}},
                                      {IdNextMark, QStringLiteral("Next &Mark")},
                                      {IdPreviousMark, QStringLiteral("Previous Mar&k")}});
    const std::pair<int, QKeySequence> keys[] = {
        {IdCopy, QKeySequence::Copy},
        {IdSelectAll, QKeySequence::SelectAll},
        {IdFind, QKeySequence(Qt::CTRL | Qt::Key_F)},
        {IdFindNext, QKeySequence(Qt::Key_F3)},
        {IdFindPrevious, QKeySequence(Qt::SHIFT | Qt::Key_F3)},
        {IdNextMark, QKeySequence(Qt::Key_F4)},
        {IdPreviousMark, QKeySequence(Qt::SHIFT | Qt::Key_F4)},
    };
    for (const auto& [id, key] : keys) {
        action(id)->setShortcut(key);
    }
    addMenu(QStringLiteral("&Options"), {{IdOptions, QStringLiteral("Options")},
                                         {0, {}},
                                         {IdWindowFont, QStringLiteral("Set Window Font")},
                                         {IdHideControls, QStringLiteral("Hide Controls")}});
    addMenu(QStringLiteral("&Help"), {{IdHelp, QStringLiteral("Help...")},
                                      {0, {}},
                                      {IdWebsite, QStringLiteral("Website")},
                                      {IdForum, QStringLiteral("Support Forum")},
                                      {IdCheckUpdates, QStringLiteral("Check for Updates")},
                                      {0, {}},
                                      {IdAbout, QStringLiteral("About Ombrel...")}});
}

void MainWindow::createShortcuts() {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { dispatchCommand(IdCancel); });
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* enter = new QShortcut(QKeySequence(key), this);
        connect(enter, &QShortcut::activated, this, &MainWindow::pressDefaultButton);
    }
}

void MainWindow::pressDefaultButton() {
    // As in a dialog: Enter presses the focused push button, otherwise the default one.
    auto* focused = qobject_cast<QPushButton*>(focusWidget());
    QPushButton* target = focused ? focused : startButton_;
    if (target->isEnabled() && target->isVisible()) {
        target->click();
    }
}

void MainWindow::setCountLabel(const QString& text) {
    countLabel_->setText(text);
    // Both names are set, not left to follow the text, so assistive tools hear of the change.
    countLabel_->setAccessibleName(text);
    countBox_->setAccessibleName(text);
    // Centred over its box and wide enough for the text, but inside the group's frame.
    QRect rect = countLabel_->geometry();
    rect.setWidth(std::max(countLabelWidth_, countLabel_->sizeHint().width()));
    rect.moveLeft(countBox_->geometry().center().x() - rect.width() / 2);
    const QWidget* group = control(IdDisplayGroup);
    const int inside =
        group->geometry().right() - group->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) - 1;
    if (rect.right() > inside) {
        rect.moveRight(inside);
    }
    countLabel_->setGeometry(rect);
}

void MainWindow::prepareLayout() {
    layout_.prepare(client_->size());
    const std::pair<int, ResizeRule> rules[] = {
        {IdFileNameBox, ResizeRule::StretchRight},   {IdDataGroup, ResizeRule::StretchRight},
        {IdComputerBox, ResizeRule::StretchRight},   {IdBrowse, ResizeRule::MoveHorizontally},
        {IdDisplay, ResizeRule::StretchRightBottom},
    };
    layoutIndex_.clear();
    for (const auto& [id, rule] : rules) {
        layoutIndex_[id] = layout_.add(control(id)->geometry(), rule);
    }
}

void MainWindow::applyLayout() {
    for (const auto& [id, index] : layoutIndex_) {
        control(id)->setGeometry(layout_.arrange(index, client_->size()));
    }
    fitFindBar();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize && !layoutIndex_.empty()) {
        applyLayout();
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::initialise() {
    const StartupOptions& start = setup_.startup;
    systemMenu_ = std::make_unique<SystemMenu>(*this, [this](int id) { dispatchCommand(id); });
    // Centre in the available area of the screen.
    const QSize client = client_->size();
    resize(client.width(),
           menuBar()->sizeHint().height() + client.height() + statusBar_->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(area.center());
        move(frame.topLeft().x() < area.left() ? area.left() : frame.left(),
             frame.top() < area.top() ? area.top() : frame.top());
    }

    intervalBox_->addItems(setup_.config.texts(QStringLiteral("//Time")));
    intervalBox_->setEditText(QString::number(monitor_.checkInterval()));
    countBox_->setText(QString::number(monitor_.byteCount()));
    printButton_->setEnabled(false);

    if (start.hideControls) {
        toggleControls();
    }
    prepareLayout();
    flags_ = SettingsFlags::load(setup_.settings);
    keywords_.loadKeywords(setup_.settings);
    for (const QString& name : recentFiles_.load()) {
        // Explicit positions: the list order is the order of use, not alphabetical.
        fileNameBox_->insertItem(fileNameBox_->count(), name);
    }
    fileNameBox_->setEditText(start.sourceText);

    tray_ = std::make_unique<TrayIcon>(icons_, [] { return QDateTime::currentSecsSinceEpoch(); });
    connect(tray_.get(), &TrayIcon::commandChosen, this, &MainWindow::dispatchCommand);
    tray_->setWanted(flags_.showTrayIcon);
    windowTray_ = std::make_unique<WindowTray>(*this, *tray_);
    ChangeAlertsSetup alerts;
#ifdef QT_DBUS_LIB
    alerts.bus = setup_.notificationBus;
#endif
    alerts.icon = icons_.application;
    alerts.sound.fallback = [] { QApplication::beep(); }; // the X bell, where one sounds
    alerts.clockMs = [] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
    alerts_ = std::make_unique<ChangeAlerts>(std::move(alerts));
    connect(alerts_.get(), &ChangeAlerts::showRequested, this, &MainWindow::showNamedLine);
    print_ = std::make_unique<PrintCommand>(
        setup_.printTarget ? setup_.printTarget
                           : std::make_shared<SystemPrintTarget>(
                                 [this](QDialog& dialog) { return dialogs_.run(dialog); }));

    checkTimer_.setInterval(1000);
    connect(&checkTimer_, &QTimer::timeout, this, &MainWindow::onCheckTimer);
    connect(&pipeline_, &UpdatePipeline::updateReady, this, &MainWindow::showUpdate);
    setUpEventLog();

    if (start.placementGiven) {
        QList<QRect> areas;
        for (const QScreen* screen : QGuiApplication::screens()) {
            areas.append(screen->availableGeometry());
        }
        const qsizetype primary =
            QGuiApplication::screens().indexOf(QGuiApplication::primaryScreen());
        setGeometry(fitToScreens(start.startRect, areas, primary));
    }
    statusBar_->setPaneIcon(StatusBar::statePane, icons_.paused);

    if (!setup_.instanceFolder.isEmpty()) {
        channel_ = std::make_unique<InstanceChannel>(setup_.instanceFolder);
        channel_->listen();
        connect(channel_.get(), &InstanceChannel::closeRequested, this,
                [this] { closeWithExitCode(IdCancel); });
    }

    if (channel_) {
        channel_->setSourceMatcher([this](const QString& source) {
            // A copy that watches (or last watched) the same file, as its title shows.
            return !monitor_.filePath().isEmpty() && !monitor_.eventLogMode() &&
                   monitor_.filePath() == source;
        });
    }
    if (start.startRequested) {
        if (channel_ && start.closeAllOthers) {
            channel_->closeAllOthers();
        } else if (channel_ && start.closeSameSource) {
            channel_->closeSameSource(start.sourceText);
        }
        startMonitoring();
    }
}

void MainWindow::toggleControls() {
    const QSize client = client_->size();
    const bool hide = !controlsHidden_;
    findBarClosed(); // the display's whole place first; the bar takes its part again below
    // The display keeps the gap to the status bar that the layout gave it, either way.
    if (hide) {
        savedDisplayTopLeft_ = display_->geometry().topLeft();
        display_->setGeometry(7, 7, client.width() - 14, client.height() - 7 - displayBottomGap_);
    } else {
        const QPoint at = savedDisplayTopLeft_;
        display_->setGeometry(at.x(), at.y(), client.width() - at.x() - 14,
                              client.height() - at.y() - displayBottomGap_);
    }
    controlsHidden_ = hide;
    const QString toggleText =
        hide ? QStringLiteral("S&how Controls") : QStringLiteral("&Hide Controls");
    action(IdHideControls)->setText(toggleText);
    if (systemMenu_) {
        systemMenu_->setText(IdHideControls, toggleText);
    }
    for (QWidget* child : client_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child != display_ && child != findBar_) {
            child->setVisible(!hide);
        }
    }
    if (!layoutIndex_.empty()) {
        prepareLayout(); // later resizes stretch the display from where the toggle put it
    }
    fitFindBar();
}

QWidget* MainWindow::control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

QAction* MainWindow::action(int id) const {
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::closeWithExitCode(int code) {
    pendingExitCode_ = code;
    if (dialogs_.cancelOpen()) {
        closeAfterDialog_ = true; // the dialog's caller closes once it has ended
        return;
    }
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    closing_ = true;
    SettingsWrite written;
    if (flags_.keepPlacement) {
        const QRect r = normalGeometry().isValid() ? normalGeometry() : geometry();
        const SettingsStore& store = setup_.settings;
        written &= store.writeSetting(QStringLiteral("StoreLeft"), QString::number(r.left()));
        written &=
            store.writeSetting(QStringLiteral("StoreRight"), QString::number(r.left() + r.width()));
        written &= store.writeSetting(QStringLiteral("StoreTop"), QString::number(r.top()));
        written &= store.writeSetting(QStringLiteral("StoreBottom"),
                                      QString::number(r.top() + r.height()));
    }
    written &= recentFiles_.save();
    if (!written) {
        // The window is going: a box could keep a copy closed by another from ending.
        std::fprintf(stderr, "ombrel: the recent files could not be saved to %s: %s\n",
                     qPrintable(QDir::toNativeSeparators(setup_.settings.filePath())),
                     qPrintable(written.reason()));
    }
    tray_->setWanted(false);
    checkTimer_.stop();
    pipeline_.cancel();
    journal_->stop();
    channel_.reset(); // stop being found by copies started from now on
    exitCode_ = pendingExitCode_;
    event->accept();
    Q_EMIT finished(exitCode_);
}

} // namespace ombrel
