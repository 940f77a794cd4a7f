// 境界データの読み込み's dialog: the layer, the attribute holding the names
// (each shown with its first values, read in the chosen encoding), the
// encoding of a Shapefile's table, the size and the simplification; and the
// report of what an import brought in and left out.
#pragma once

#include <QDialog>

#include "base/ImportFields.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPlainTextEdit;
class QSpinBox;
class QTableWidget;

class ImportDialog : public QDialog {
    Q_OBJECT
  public:
    ImportDialog(QWidget* parent, ImportFields& f);
    void accept() override;
    QComboBox* Layer() const { return layer_; }
    QTableWidget* Attributes() const { return attributes_; }
    QComboBox* Encoding() const { return encoding_; }
    QSpinBox* Width() const { return width_; }
    QSpinBox* Height() const { return height_; }
    QDoubleSpinBox* Simplify() const { return simplify_; }

  private:
    // Takes the layer and encoding now chosen, looks at the source again
    // and shows what it offers.
    void Refresh();
    void Fill();
    void Take();
    ImportFields& f_;
    QComboBox* layer_;
    QTableWidget* attributes_;
    QComboBox* encoding_;
    QLabel* encodingLabel_;
    QSpinBox* width_;
    QSpinBox* height_;
    QDoubleSpinBox* simplify_;
    bool filling_ = false;
};

// A headline over a read-only, scrollable list of lines.
class ReportDialog : public QDialog {
    Q_OBJECT
  public:
    ReportDialog(QWidget* parent, const QString& caption, const QString& headline,
                 const QStringList& lines);
    QPlainTextEdit* Lines() const { return lines_; }

  private:
    QPlainTextEdit* lines_ = nullptr;
};
