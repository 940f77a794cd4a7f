// 基準点's two windows: the small dialog that takes a point's real
// coordinates, and the table of the points and their fit, which stays open
// beside the map and hands every change to the editor.
#pragma once

#include <QDialog>

#include "editor/Ui.h"

class Editor;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

class ControlPointDialog : public QDialog {
    Q_OBJECT
  public:
    ControlPointDialog(QWidget* parent, ControlPointFields& f);
    void accept() override;
    QLineEdit* X() const { return x_; }
    QLineEdit* Y() const { return y_; }
    QComboBox* Crs() const { return crs_; }

  private:
    ControlPointFields& f_;
    QLineEdit* x_;
    QLineEdit* y_;
    QComboBox* crs_;
};

class ControlPointTableDialog : public QDialog {
    Q_OBJECT
  public:
    ControlPointTableDialog(QWidget* parent, Editor& ed);
    // Fills the table anew and shows it (closed: hides it).
    void SetTable(const ControlPointTable& t);
    QTableWidget* Table() const { return table_; }
    QComboBox* Method() const { return method_; }
    QLabel* Summary() const { return summary_; }

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    int CurrentRow() const;
    void CellChanged(int row, int column);
    Editor& ed_;
    QTableWidget* table_;
    QComboBox* method_;
    QLabel* crs_;
    QLabel* summary_;
    QLabel* warnings_;
    QPushButton* toggle_;
    QPushButton* remove_;
    ControlPointTable shown_;
    bool filling_ = false;
    bool placed_ = false;
};
