// The about box.
#include "app/about_dlg.h"

#include <QIcon>
#include <QLabel>

CAboutDlg::CAboutDlg(QWidget* parent)
    : CFixedDialog(parent, QStringLiteral("ﾊﾞｰｼﾞｮﾝ"), 99, 55) {
  setObjectName(QStringLiteral("IDD_%1").arg(IDD_ABOUTBOX));
  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("IDR_MAINFRAME"));
  // An icon control shows the icon at its own 32 x 32 size from its corner.
  icon->setPixmap(QIcon(QStringLiteral(":/numbloc/icons/numbloc-32.png")).pixmap(32, 32));
  icon->setGeometry(Units().X(7), Units().Y(27), 32, 32);
  AddStatic(QStringLiteral("簡易ナムブロック　Ver 1.3"), 7, 7, 79, 8);
  AddButton(IDOK, QStringLiteral("OK"), 59, 34, 32, 14);
}
