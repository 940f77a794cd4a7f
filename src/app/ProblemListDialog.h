// The list of problems 全区域の点検 found: one row per area position whose
// outline cannot be composed. It stays open beside the map; choosing a row
// and closing go straight to the editor, which marks and takes back.
#pragma once

#include <QDialog>
#include <vector>

#include "editor/Ui.h"

class Editor;
class QLabel;
class QPushButton;
class QTreeWidget;

class ProblemListDialog : public QDialog {
    Q_OBJECT
  public:
    ProblemListDialog(QWidget* parent, Editor& ed);
    // Fills the list (no row chosen) and shows the dialog; empty rows hide it.
    void SetRows(const std::vector<CheckRow>& rows, const QString& summary = {});
    QTreeWidget* List() const { return list_; }
    QLabel* Message() const { return message_; }

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    Editor& ed_;
    QTreeWidget* list_;
    QLabel* message_;
    QPushButton* repair_;
    QPushButton* repairAll_;
    std::vector<CheckRow> rows_;
    bool filling_ = false;
    bool changed_ = false;  // the current row changed since the last click
    bool placed_ = false;
};
