#pragma once

#include "app/ComputerBox.h"
#include "app/EventLogBoxes.h"
#include "app/Icons.h"
#include "app/ModalDialogs.h"
#include "app/RecentFiles.h"
#include "app/ResizeLayout.h"
#include "app/SettingsFlags.h"
#include "app/StartupOptions.h"
#include "app/SystemMenu.h"
#include "app/UpdatePipeline.h"
#include "archive/ConfigDocument.h"
#include "display/KeywordList.h"
#include "eventlog/JournalWatch.h"
#include "notify/ChangeAlerts.h"
#include "options/WindowFont.h"
#include "print/PrintCommand.h"
#include "print/PrintTarget.h"
#include "settings/SettingsStore.h"
#include "tail/MonitorControl.h"
#include "tail/MonitorFileSystem.h"
#include "tray/TrayIcon.h"
#include "tray/WindowTray.h"

#include <QMainWindow>
#include <QTimer>
#include <map>
#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QCheckBox;

namespace ombrel {

class FindBar;
class FindController;
class InstanceChannel;
struct OptionsResult;
class LogView;
class StatusBar;

/// What the main window is given by start-up.
struct MainWindowSetup {
    StartupOptions startup; ///< settings and command-line values
    SettingsStore settings; ///< where options and recent files live
    QString instanceFolder; ///< where running copies find each other (empty: none)
    ConfigDocument config;  ///< the configuration document (interval presets, links)
    std::shared_ptr<const MonitorFileSystem> fileSystem; ///< what is watched (null: the disk)
    /// Opens the journals an event-log Start watches (tests); empty: the systemd journal.
    RecordSourceMaker journalSources = {};
    /// Where Print goes (tests); null: the system's printers and print dialog.
    std::shared_ptr<PrintTarget> printTarget = {};
#ifdef QT_DBUS_LIB // a build without D-Bus (Windows) sends no desktop notifications
    /// The session bus desktop notifications go to; none sends none (tests).
    std::optional<QDBusConnection> notificationBus = {};
#endif
};

/// The program's one top-level window: the controls, menus, status bar, command table and close.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    /// Builds and initialises the window; monitoring starts at once when a file was named.
    explicit MainWindow(MainWindowSetup setup, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Routes a command identifier to its action, as a menu item or button would.
    void dispatchCommand(int id);
    /// The control with the given identifier, or null.
    QWidget* control(int id) const;
    /// The menu action with the given identifier, or null.
    QAction* action(int id) const;
    /// The status bar with its panes.
    StatusBar* panes() const { return statusBar_; }
    /// The display.
    LogView* display() const { return display_; }
    /// The find bar below the display.
    FindBar* findBar() const { return findBar_; }
    /// What searches the display (tests wait on its worker).
    FindController& finder() const { return *finder_; }
    /// The exit code of the close, once the window has closed (-1 before).
    int exitCode() const { return exitCode_; }
    /// The monitoring state.
    const MonitorControl& monitor() const { return monitor_; }
    /// The recent files list.
    const RecentFiles& recentFiles() const { return recentFiles_; }
    /// The notification-area icon.
    const TrayIcon& tray() const { return *tray_; }
    /// Waits until no display update is in flight and the last one is shown (tests).
    bool waitForDisplayIdle(int timeoutMs);

Q_SIGNALS:
    /// The window has closed; the program ends with exitCode.
    void finished(int exitCode);
    /// A display update has been shown.
    void displayUpdated();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr QSize minimumWindowSize{320, 250};

    void createControls();
    void createMenus();
    void createShortcuts();
    void prepareLayout();
    void applyLayout();
    void openFindBar();
    void fitFindBar();
    void findBarClosed();
    void initialise();
    void closeWithExitCode(int code);
    void pressDefaultButton();
    void setCountLabel(const QString& text);
    void toggleControls();
    void startMonitoring();
    void pauseMonitoring();
    void showWatchingInTray(const QString& source);
    void watchDroppedFile(const QString& path);
    void browseForFile();
    void launchEditor();
    void onCheckTimer();
    // Why the display is updated: a change is told to the user, a retry shows only a success.
    enum class UpdateCause { Refresh, Retry, Change };
    void requestDisplayUpdate(UpdateCause cause = UpdateCause::Refresh,
                              std::optional<QString> text = std::nullopt);
    void showUpdate(const DisplayUpdate& update);
    void showUnreadable(const DisplayUpdate& update);
    void announceChange();
    NoticeSource watchedSource() const;
    void showNamedLine(std::optional<std::int64_t> line);
    void openOptions();
    void applyOptions(const OptionsResult& result);
    void chooseWindowFont();
    void printDisplay();
    // The event-log side, in MainWindowEventLog.cpp.
    void setUpEventLog();
    void eventLogBoxClicked(int id);
    JournalSourceOptions journalOf(EventLogChoice choice) const;
    void startJournalWatch();
    void showJournalText(const QString& text);
    void showWaitError(int error);

    MainWindowSetup setup_;
    SettingsFlags flags_;
    Icons icons_;
    QWidget* client_ = nullptr;
    std::map<int, QWidget*> controls_;
    std::map<int, QAction*> actions_;
    QComboBox* fileNameBox_ = nullptr;
    QComboBox* intervalBox_ = nullptr;
    QLineEdit* countBox_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QPushButton* startButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QCheckBox* headBox_ = nullptr;
    LogView* display_ = nullptr;
    FindBar* findBar_ = nullptr;
    std::unique_ptr<FindController> finder_;
    int findBarHeight_ = 0; // taken from the display while the bar shows
    StatusBar* statusBar_ = nullptr;
    ResizeLayout layout_;
    std::map<int, int> layoutIndex_; // control id -> layout item
    std::unique_ptr<InstanceChannel> channel_;
    std::shared_ptr<const MonitorFileSystem> fileSystem_;
    MonitorControl monitor_;
    UpdatePipeline pipeline_;
    std::unique_ptr<EventLogBoxes> eventLogBoxes_;
    std::unique_ptr<ComputerBox> computers_;
    std::unique_ptr<JournalWatch> journal_;
    KeywordList keywords_;
    RecentFiles recentFiles_;
    QTimer checkTimer_;
    bool controlsHidden_ = false;
    std::optional<JournalSourceOptions> computersAfterText_; // looked up at the watch's first text
    QPoint savedDisplayTopLeft_;
    int displayBottomGap_ = 0;             // between the display and the status bar, as laid out
    int countLabelWidth_ = 0;              // the count label's width in the template
    std::uint64_t shownGeneration_ = 0;    // the update session of the text on the display
    std::optional<QString> unsavedEditor_; // the editor chosen in options the store refused
    std::unique_ptr<TrayIcon> tray_;
    std::unique_ptr<WindowTray> windowTray_;
    std::unique_ptr<ChangeAlerts> alerts_;
    std::unique_ptr<SystemMenu> systemMenu_; // Windows: the additions to the system menu
    WindowFont windowFont_;
    ModalDialogs dialogs_;
    std::unique_ptr<PrintCommand> print_;
    bool closeAfterDialog_ = false;
    bool closing_ = false;
    int pendingExitCode_ = 2; // the close box and Escape close with 2
    int exitCode_ = -1;
};

} // namespace ombrel
