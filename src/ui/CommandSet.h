#pragma once

#include <QObject>

#include <functional>
#include <map>

class AutomaticRotation;
class CMainFrame;
class QAction;
class QColorDialog;

// Whether a command can be chosen and whether it shows a check mark.
struct CommandState {
    bool enabled = true;
    bool checked = false;
};

// Every menu and toolbar command of the main frame: its action with caption,
// tool tip and status-bar hint, its handler and the rule that enables and checks
// it before a menu opens and while the toolbars idle.
class CommandSet final : public QObject {
public:
    explicit CommandSet(CMainFrame& frame);
    ~CommandSet() override;

    // The command's action; null for an unknown id.
    QAction* action(int id) const;
    // Applies every command's enable and check rule, and names the steps that undo
    // and redo would take. The window runs it after every commit that published
    // something and before a menu opens.
    void updateAll();
    // Runs the command's handler as choosing it does, if it is enabled.
    void run(int id);

private:
    struct Command {
        QAction* action = nullptr;
        std::function<void()> handler;
        std::function<CommandState()> rule;
    };

    // An action with the caption, and a hint shown as tool tip and status text.
    void add(int id, const char* caption, const char* hint, std::function<void()> handler,
             std::function<CommandState()> rule, bool checkable = false);
    void addFrameworkCommands();
    void addViewCommands();
    void addToolCommands();
    void addColourCommands();
    void addLibraryCommands();
    void addDisplayCommands();
    void addCameraCommands();

    // One colour dialog for the whole run, so that its custom colours persist.
    QColorDialog& colourDialog();
    // Opens the colour dialog preset with `initial`; true and `chosen` on OK.
    bool chooseColour(const QColor& initial, QColor& chosen);

    CMainFrame& frame_;
    std::map<int, Command> commands_;
    QColorDialog* colourDialog_ = nullptr;
    AutomaticRotation* rotation_;
    // Whether updateAll ran since the command being run started.
    bool statesCurrent_ = false;
};
