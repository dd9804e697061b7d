// IDD_ABOUTBOX: the program's name and version with its icon.
#pragma once

#include "view/dialogs.h"

class CAboutDlg : public CFixedDialog {
  Q_OBJECT
 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};
