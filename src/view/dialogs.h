// The board window's modal dialogs: the size dialog and the three help texts,
// laid out in dialog units on a shared fixed-size dialog base.
#pragma once

#include <QDialog>
#include <QString>

#include "core/complete/generator.h"
#include "platform/dialog_units.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// Command ids of the dialogs' push buttons.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// Dialog resource ids, kept as the dialogs' object names.
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_SIZE = 131;
constexpr int IDD_RULES = 132;
constexpr int IDD_HELP_CREATE = 133;
constexpr int IDD_HELP_SOLVE = 134;
constexpr int IDC_WIDTH = 1001;
constexpr int IDC_HEIGHT = 1002;

// A fixed-size modal dialog with a caption and a close box, whose controls
// are placed in dialog units of its 9-point face.
class CFixedDialog : public QDialog {
  Q_OBJECT

 public:
  CFixedDialog(QWidget* parent, const QString& caption, int width, int height);

  const numbloc::DialogUnits& Units() const { return units_; }

 protected:
  // Static texts keep their given size unless the text needs more room, and
  // then grow to the right so that no character is cut off.
  QLabel* AddStatic(const QString& text, int x, int y, int w, int h);
  QLineEdit* AddEdit(int id, int x, int y, int w, int h);
  // Button 1 is the default button and accepts, button 2 rejects.
  QPushButton* AddButton(int id, const QString& text, int x, int y, int w, int h);

 private:
  void FitTo(const QRect& rect);

  numbloc::DialogUnits units_;
};

// IDD_SIZE: the board size, checked against 6..30 columns and 6..40 rows.
class CSizeDlg : public CFixedDialog {
  Q_OBJECT

 public:
  explicit CSizeDlg(QWidget* parent = nullptr);

  int m_nWidth = 0;
  int m_nHeight = 0;

  QLineEdit* WidthField() const { return width_; }
  QLineEdit* HeightField() const { return height_; }

  // Reads the fields back; a refused entry shows its message, puts the focus
  // on its field and keeps the dialog open.
  void accept() override;

 protected:
  void showEvent(QShowEvent* event) override;
  // Moves the members into the fields (save = false) or the fields into the
  // members with their range checks (save = true); false when refused.
  bool DoDataExchange(bool save);

 private:
  bool ExchangeInt(QLineEdit* field, int& value, int low, int high);

  QLineEdit* width_ = nullptr;
  QLineEdit* height_ = nullptr;
  bool filled_ = false;
};

// IDD_RULES: the rules of the puzzle.
class CRulesDlg : public CFixedDialog {
  Q_OBJECT
 public:
  explicit CRulesDlg(QWidget* parent = nullptr);
};

// IDD_HELP_CREATE: the mouse in Creation mode.
class CCreateHelpDlg : public CFixedDialog {
  Q_OBJECT
 public:
  explicit CCreateHelpDlg(QWidget* parent = nullptr);
};

// IDD_HELP_SOLVE: the mouse in Solving mode.
class CSolveHelpDlg : public CFixedDialog {
  Q_OBJECT
 public:
  explicit CSolveHelpDlg(QWidget* parent = nullptr);
};

// 問題を自動作成: the size, largest number, difficulty and symmetry of a new
// puzzle. It opens with the choices of last time (kept in QSettings) and
// keeps the largest number within what the size allows.
class CGenerateDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CGenerateDlg(QWidget* parent = nullptr);

  // The choices as generator options (seed and index left as they are).
  numbloc::complete::GenerateOptions Options() const;
  // Stores the choices for next time; called on OK.
  void Remember() const;

  QSpinBox* WidthBox() const { return width_; }
  QSpinBox* HeightBox() const { return height_; }
  QSpinBox* MaxNumberBox() const { return maxNumber_; }
  QComboBox* DifficultyBox() const { return difficulty_; }
  QCheckBox* SymmetricBox() const { return symmetric_; }

 private:
  void FitMaxNumber();

  QSpinBox* width_ = nullptr;
  QSpinBox* height_ = nullptr;
  QSpinBox* maxNumber_ = nullptr;
  QComboBox* difficulty_ = nullptr;
  QCheckBox* symmetric_ = nullptr;
};
