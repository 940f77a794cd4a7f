// The main window: menu bar, the tool panel with its glyph buttons, mode
// buttons, coordinate read-out and progress bar, and the scrolling view of the
// drawing surface. Every command goes to Editor::Command; the core sets the
// enabled states, check marks and captions back through the Ui.
#pragma once

#include <QMainWindow>
#include <array>

#include "base/Commands.h"
#include "base/Messages.h"

class Editor;
class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QScrollArea;
class QToolButton;
class SurfaceView;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(Editor& ed);
    ~MainWindow() override;

    // The menu or popup item of c, or nullptr (tool-bar commands).
    QAction* Action(Cmd c) const { return actions_[size_t(c)]; }
    // The tool-bar button of c, or nullptr (menu and popup commands).
    QToolButton* Button(Cmd c) const { return buttons_[size_t(c)]; }
    QMenu* PopupMenu(Popup p) const;
    QWidget* ToolPanel() const { return panel_; }
    QScrollArea* Flat() const { return flat_; }
    SurfaceView* View() const { return view_; }
    QLabel* MouseXY() const { return mouseXY_; }
    QProgressBar* ProgressBar() const { return progress_; }

    void SetEnabled(Cmd c, bool on);
    void SetChecked(Cmd c, bool on);
    bool IsChecked(Cmd c) const { return checked_[size_t(c)]; }
    void SetCaption(Cmd c, const QString& text);
    void SetModeButtons(bool inputDown, bool editDown);
    void SetHintsShown(bool on);
    void AttachPopup(Popup p) { attached_ = p; }
    Popup AttachedPopup() const { return attached_; }
    void OpenAttachedPopup(QPoint screen);
    void OpenPopup(Popup p, QPoint screen);
    // Key presses anywhere in the window go to the editor's keyboard commands.
    void ForwardKey(QKeyEvent* e);
    // The normal-state bounds (outer left/top, inner width/height) and whether
    // the window is maximised, as the settings keep them.
    QRect NormalBounds() const;

    // The hint texts of the nine glyph buttons, in tool-bar order.
    static const std::array<std::pair<Cmd, Msg>, 9>& GlyphButtons();

    // A command is running (it may be waiting in a dialog).
    bool InCommand() const { return commandDepth_ > 0; }
    // The recent-files items at the end of the ファイル menu, newest first.
    QList<QAction*> RecentActions() const { return recent_; }

  protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    void BuildMenus();
    void BuildPanel();
    void BuildPopups();
    QAction* AddItem(QMenu* menu, Cmd c, const QString& caption, bool checkable = false);
    void Run(Cmd c);
    void FillRecentFiles(QMenu* file);

    Editor& ed_;
    std::array<QAction*, size_t(Cmd::Count_)> actions_{};
    std::array<QToolButton*, size_t(Cmd::Count_)> buttons_{};
    std::array<bool, size_t(Cmd::Count_)> checked_{};
    std::array<QMenu*, 5> popups_{};
    Popup attached_ = Popup::None;
    bool inputDown_ = true, editDown_ = false;
    QWidget* panel_ = nullptr;
    QScrollArea* flat_ = nullptr;
    SurfaceView* view_ = nullptr;
    QLabel* mouseXY_ = nullptr;
    QProgressBar* progress_ = nullptr;
    int commandDepth_ = 0;
    QList<QAction*> recent_;
    QAction* quitSeparator_ = nullptr;  // the recent files go above it
};
