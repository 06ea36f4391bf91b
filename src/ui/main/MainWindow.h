#pragma once

#include <QWidget>
#include <functional>
#include <vector>

class QLabel;

namespace oplix::ui {

class ClickArea;
class MenuCaption;
class WindowDragger;

// The main window: the skinned main panel with the tests and help menus, its title strip,
// the enlarge, minimise and close areas, and, over the menu, the test panel while a test is
// on screen. In window mode 0 it is the 790 x 581 panel centred in the work area; in mode 1 it
// fills the work area, with the backdrop around the centred panel.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    static constexpr QSize kPanelSize{790, 581};

    // 0 or 1; other values change nothing.
    void ApplyWindowMode(int mode);
    int WindowMode() const { return mode_; }
    // The top-left corner of the main panel on the screen: other windows place themselves
    // from it.
    QPoint PanelOrigin() const;
    QWidget* Panel() const { return panel_; }

    // The test panel lies exactly over the main panel; the window owns it from here on. Its
    // title strip drags the window as the main panel's does, by the same window mode rule.
    void SetTestPanel(QWidget* testPanel, ClickArea* titleStrip);

    void CloseMenus();
    // The program may be ended only by the close area.
    void Quit();

signals:
    void startWithBothLists();  // mode 1
    void startFromTestsList();  // mode 2
    void startNamedWithFile();  // mode 3
    void startFromFile();       // mode 4
    void windowModeSwitched(int mode, bool store);
    void copyMethodKey(int method);   // Ctrl+Shift+digit
    void journalLevelKey(int level);  // Ctrl+Alt+digit
    void aboutRequested();
    void helpRequested();
    void homePageRequested();
    void filesDropped(QStringList addresses);  // as dropped, each one read like an argument

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct MenuEntry {
        MenuCaption* caption;
        QString description;
    };

    void BuildPanel();
    QWidget* BuildTestsMenu();
    QWidget* BuildHelpMenu();
    void AddEntry(QWidget* menu, std::vector<MenuEntry>& entries, const QRect& rectangle,
                  const QString& caption, const QString& description, std::function<void()> action);
    void Highlight(std::vector<MenuEntry>& entries, const MenuEntry& entry);
    void ResetColours();
    void ShowMenu(QWidget* menu);
    bool HandleKey(QKeyEvent* event);

    QLabel* backdrop_ = nullptr;
    QWidget* panel_ = nullptr;
    QWidget* testsMenu_ = nullptr;
    QWidget* helpMenu_ = nullptr;
    QLabel* description_ = nullptr;
    QWidget* testPanel_ = nullptr;
    std::vector<MenuEntry> testsEntries_;
    std::vector<MenuEntry> helpEntries_;
    WindowDragger* dragger_ = nullptr;
    int mode_ = 0;
    bool quitting_ = false;
};

}  // namespace oplix::ui
