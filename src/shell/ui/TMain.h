#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>

class AppState;
class CommandBar;
class Header;
class QAction;
class QMdiArea;
#include <QMdiSubWindow>
class QMenu;

// The main window: menus, header, command bar, status bar and the child-window area.
// Every command starts here, after its rights check.
class TMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit TMain(AppState& state, QWidget* parent = nullptr);
    ~TMain() override;

    AppState& state() { return m_state; }
    QMdiArea* mdiArea() const { return m_mdi; }
    CommandBar* commandBar() const { return m_bar; }
    Header* header() const { return m_header; }

    // The command with this key ("owners", "users", "logOff", ...), shared by its menu item and
    // its command-bar button.
    QAction* command(const QString& key) const { return m_commands.value(key); }
    QStringList commandKeys() const { return m_commands.keys(); }

    // The start-up steps of the first showing. Returns false when the program is to end.
    // Runs by itself the first time the window is shown; tests call it directly.
    bool firstShowing();
    bool hasStarted() const { return m_started; }
    // Tests run the start-up themselves.
    void setAutoStart(bool on) { m_autoStart = on; }

    // Opens a child screen once: an open one is brought to the front, a closed one is made
    // again by the factory.
    QMdiSubWindow* OpenChild(const QString& key, const std::function<QWidget*()>& factory);
    QMdiSubWindow* openChildWindow(const QString& key) const { return m_children.value(key); }

    // Makes the command live: it runs the handler.
    void enable(const QString& key, const std::function<void()>& handler);
    // Makes the command live behind a rights check: with user control off, or when the
    // logged-in user holds FLAG, the handler runs; otherwise REFUSAL is shown.
    void guarded(const QString& key, const QString& flag, const QString& refusal,
                 const std::function<void()>& handler);
    // "You do not have rights to access this area!"
    static const QString NoRights;

    // The login loop of the "Log In" dialog; true once a user is logged in.
    bool Login();

    // Shows the pop-up windows of the due reminders (modeless).
    void ShowDueReminders();

    // Ends the program as File > Close does, for SIGTERM and SIGINT: open dialogs are
    // cancelled first, and the window closes (disconnecting and writing the settings) once
    // the code that opened them has returned.
    void closeForStop();

    // "&Tile Vertically": the open child windows side by side.
    void tileVertically();

signals:
    // The start-up steps are over: true when the program goes on, false when it ends.
    void startupEnded(bool goesOn);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* addCommand(QMenu* menu, const QString& key, const QString& text,
                        const QKeySequence& shortcut = QKeySequence());
    bool startUp();
    void buildMenus();
    void buildCommandBar();
    void connectCommands();

    void logOff();
    void openUsers();
    void openFrequencies();
    void about();

    AppState& m_state;
    Header* m_header;
    CommandBar* m_bar;
    QMdiArea* m_mdi;
    QHash<QString, QAction*> m_commands;
    QHash<QString, QPointer<QMdiSubWindow>> m_children;
    bool m_started = false;
    bool m_autoStart = true;
    bool m_closedForStop = false;
};
