// The program's own dialogs. They only show and collect texts; what the texts
// mean is decided by the editor.
#pragma once

#include <QDialog>
#include <array>

#include "editor/Ui.h"

class Editor;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTextBrowser;

class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDialog(QWidget* parent);
};

// The help pages in a browser window of their own.
class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent);
    void ShowContents();
    QTextBrowser* Browser() const { return browser_; }

  private:
    QTextBrowser* browser_;
};

// The area-name editor: one area per line. Closing it takes the text over
// like the button does; Escape leaves the table as it was.
class ZoneForm : public QDialog {
    Q_OBJECT
  public:
    explicit ZoneForm(QWidget* parent);
    void SetText(const QString& crlfText);
    QString Text() const;  // lines joined by CR LF
    bool Changed() const;
    bool Cancelled() const { return cancelled_; }  // left with Escape
    QPlainTextEdit* Memo() const { return memo_; }

  protected:
    void keyPressEvent(QKeyEvent* e) override;

  private:
    QPlainTextEdit* memo_;
    bool cancelled_ = false;
};

// The area-position dialog: stays on top and open while the person clicks on
// the map. List clicks, repaint and close go straight to the editor.
class ZpotDialog : public QDialog {
    Q_OBJECT
  public:
    ZpotDialog(QWidget* parent, Editor& ed);
    void SetNames(const QStringList& names);
    void Select(int index);
    std::array<QString, 9> Boxes() const;
    void SetBoxes(const std::array<QString, 9>& boxes);
    QListWidget* List() const { return list_; }
    QLineEdit* Box(int i) const { return boxes_[size_t(i)]; }
    QPushButton* RedrawButton() const { return redraw_; }
    QPushButton* DoneButton() const { return done_; }

  protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;  // Escape closes through the editor too

  private:
    Editor& ed_;
    QListWidget* list_;
    std::array<QLineEdit*, 9> boxes_{};
    QPushButton* redraw_;
    QPushButton* done_;
    bool filling_ = false;
};

// The title dialog of the finished-map writer.
class TitleForm : public QDialog {
    Q_OBJECT
  public:
    explicit TitleForm(QWidget* parent);
    void Load(const TitleFields& f);
    void Store(TitleFields& f) const;
    // Edit1..Edit10 by their number, Memo1 and the buttons, for the tab order.
    QLineEdit* Edit(int n) const { return edits_[size_t(n)]; }
    QPlainTextEdit* Memo() const { return memo_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }
    QLabel* LabelX() const { return labelX_; }
    QLabel* LabelY() const { return labelY_; }

  private:
    std::array<QLineEdit*, 11> edits_{};  // index 1..10
    QPlainTextEdit* memo_;
    QLabel* labelX_;
    QLabel* labelY_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// The move/scale dialog.
class MoveMapForm : public QDialog {
    Q_OBJECT
  public:
    explicit MoveMapForm(QWidget* parent);
    void Load(const MoveFields& f);
    void Store(MoveFields& f) const;
    QLineEdit* Edit(int n) const { return edits_[size_t(n)]; }  // 1..3

  private:
    std::array<QLineEdit*, 4> edits_{};
};
