// The size dialog and the help dialogs.
#include "view/dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QLabel>
#include <QSettings>
#include <QSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "platform/user_prompts.h"

namespace {
QString IdName(const char* prefix, int id) {
  return QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(id);
}
}  // namespace

CFixedDialog::CFixedDialog(QWidget* parent, const QString& caption, int width, int height)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      units_(numbloc::DialogFont()) {
  setFont(numbloc::DialogFont());
  setWindowTitle(caption);
  setModal(true);
  setFixedSize(units_.Size(width, height));
}

void CFixedDialog::FitTo(const QRect& rect) {
  // Keep the margin the layout gives on the right of its widest control.
  const int needed = rect.right() + 1 + units_.X(7);
  if (needed > width()) setFixedSize(needed, height());
}

QLabel* CFixedDialog::AddStatic(const QString& text, int x, int y, int w, int h) {
  auto* label = new QLabel(text, this);
  QRect rect = units_.Rect(x, y, w, h);
  const QFontMetrics metrics(font());
  rect.setWidth(std::max(rect.width(), metrics.horizontalAdvance(text) + 2));
  rect.setHeight(std::max(rect.height(), metrics.height()));
  label->setGeometry(rect);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setTextFormat(Qt::PlainText);
  FitTo(rect);
  return label;
}

QLineEdit* CFixedDialog::AddEdit(int id, int x, int y, int w, int h) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(IdName("IDC_", id));
  edit->setGeometry(units_.Rect(x, y, w, h));
  edit->setTextMargins(0, 0, 0, 0);
  return edit;
}

QPushButton* CFixedDialog::AddButton(int id, const QString& text, int x, int y, int w, int h) {
  auto* button = new QPushButton(text, this);
  button->setObjectName(id == IDOK ? QStringLiteral("IDOK") : QStringLiteral("IDCANCEL"));
  button->setGeometry(units_.Rect(x, y, w, h));
  if (id == IDOK) {
    button->setDefault(true);
    connect(button, &QPushButton::clicked, this, &QDialog::accept);
  } else {
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, &QDialog::reject);
  }
  return button;
}

CSizeDlg::CSizeDlg(QWidget* parent)
    : CFixedDialog(parent, QStringLiteral("ｻｲｽﾞ変更"), 79, 63) {
  setObjectName(IdName("IDD_", IDD_SIZE));
  AddStatic(QStringLiteral("横ｻｲｽﾞ(6～30)"), 7, 6, 48, 8);
  width_ = AddEdit(IDC_WIDTH, 53, 6, 17, 12);
  AddStatic(QStringLiteral("縦ｻｲｽﾞ(6～40)"), 7, 26, 48, 8);
  height_ = AddEdit(IDC_HEIGHT, 53, 26, 17, 12);
  AddButton(IDOK, QStringLiteral("OK"), 7, 42, 29, 14);
  AddButton(IDCANCEL, QStringLiteral("ｷｬﾝｾﾙ"), 40, 42, 32, 14);
}

void CSizeDlg::showEvent(QShowEvent* event) {
  if (!filled_) {
    filled_ = true;
    DoDataExchange(false);
    width_->setFocus();
    width_->selectAll();
  }
  CFixedDialog::showEvent(event);
}

bool CSizeDlg::ExchangeInt(QLineEdit* field, int& value, int low, int high) {
  bool ok = false;
  const int entered = field->text().trimmed().toInt(&ok, 10);
  QString refusal;
  if (!ok)
    refusal = QStringLiteral("整数を入力してください。");
  else if (entered < low || entered > high)
    refusal = QStringLiteral("%1 から %2 までの整数を入力してください。").arg(low).arg(high);
  if (!refusal.isEmpty()) {
    numbloc::CurrentPrompts().ShowWarning(this, refusal);
    field->setFocus();
    field->selectAll();
    return false;
  }
  value = entered;
  return true;
}

bool CSizeDlg::DoDataExchange(bool save) {
  if (!save) {
    width_->setText(QString::number(m_nWidth));
    height_->setText(QString::number(m_nHeight));
    return true;
  }
  // Both members change only when both fields pass, so a refused OK leaves
  // the dialog's data as it was.
  int width = m_nWidth;
  int height = m_nHeight;
  if (!ExchangeInt(width_, width, 6, 30)) return false;
  if (!ExchangeInt(height_, height, 6, 40)) return false;
  m_nWidth = width;
  m_nHeight = height;
  return true;
}

void CSizeDlg::accept() {
  if (DoDataExchange(true)) CFixedDialog::accept();
}

CRulesDlg::CRulesDlg(QWidget* parent)
    : CFixedDialog(parent, QStringLiteral("ルール説明"), 230, 77) {
  setObjectName(IdName("IDD_", IDD_RULES));
  AddButton(IDOK, QStringLiteral("OK"), 189, 56, 34, 14);
  AddStatic(QStringLiteral("以下のルールに従い，すべてのマスに数字を１つずつ入れます．"), 7, 7, 191, 8);
  AddStatic(QStringLiteral("・タテヨコにひとつながりとなった同じ数字を１つのブロックとし，"), 13, 21, 186, 8);
  AddStatic(QStringLiteral("　全体をいくつかのブロックに分割します"), 13, 29, 130, 8);
  AddStatic(QStringLiteral("・１つのブロックのマスの数は，その数字と同じでなければいけません．"), 13, 43, 210, 8);
  AddStatic(QStringLiteral("・同じ数字のブロックどうしが，辺で接してはいけません．"), 13, 55, 163, 8);
}

CCreateHelpDlg::CCreateHelpDlg(QWidget* parent)
    : CFixedDialog(parent, QStringLiteral("操作説明（作成時）"), 151, 95) {
  setObjectName(IdName("IDD_", IDD_HELP_CREATE));
  AddButton(IDOK, QStringLiteral("OK"), 116, 74, 28, 14);
  AddStatic(QStringLiteral("マウス左クリック：ヒント数をセットします．"), 7, 7, 124, 8);
  AddStatic(QStringLiteral("マウス右クリック：セットした数をクリアします．"), 7, 21, 137, 8);
  AddStatic(QStringLiteral("数字バークリック：セットする数を選択します．"), 7, 35, 136, 8);
  AddStatic(QStringLiteral("「全クリア」　　：全ての数をクリアします．"), 7, 49, 120, 8);
  AddStatic(QStringLiteral("「解答モードへ」：解答モードへ移行します．"), 7, 62, 128, 8);
}

CSolveHelpDlg::CSolveHelpDlg(QWidget* parent)
    : CFixedDialog(parent, QStringLiteral("操作説明（解答時）"), 166, 101) {
  setObjectName(IdName("IDD_", IDD_HELP_SOLVE));
  AddButton(IDOK, QStringLiteral("OK"), 130, 80, 29, 14);
  AddStatic(QStringLiteral("マウス左クリック：空マスに数字を入れます．"), 7, 7, 132, 8);
  AddStatic(QStringLiteral("マウス右クリック：数字をクリアします．"), 7, 19, 116, 8);
  AddStatic(QStringLiteral("「一つ戻る」　　：一つ前の手順に戻します．"), 7, 31, 127, 8);
  AddStatic(QStringLiteral("「最初に戻る」　：解答モードの初期状態に戻ります．"), 7, 43, 152, 8);
  AddStatic(QStringLiteral("「自動解答」　　：自動解答を行います．"), 7, 55, 118, 8);
  AddStatic(QStringLiteral("「作製モードへ」：作製モードへ移行します．"), 7, 67, 130, 8);
}

namespace {
// The difficulties in the order the list shows them, with their words.
struct DifficultyChoice {
  numbloc::complete::Difficulty difficulty;
  const char* text;
};
constexpr DifficultyChoice kDifficulties[] = {
    {numbloc::complete::Difficulty::Rules, "やさしい（推論だけで解ける）"},
    {numbloc::complete::Difficulty::Trials, "ふつう（自動解答で解ける）"},
    {numbloc::complete::Difficulty::Any, "むずかしい（解が一つであればよい）"},
};
}  // namespace

CGenerateDlg::CGenerateDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("IDD_GENERATE"));
  setWindowTitle(QStringLiteral("問題を自動作成"));
  setModal(true);
  const QSettings settings;
  auto spin = [this](const char* name, int low, int high, int value) {
    auto* box = new QSpinBox(this);
    box->setObjectName(QLatin1String(name));
    box->setRange(low, high);
    box->setValue(std::clamp(value, low, high));
    return box;
  };
  width_ = spin("IDC_GEN_WIDTH", numbloc::kMinWidth, numbloc::kMaxWidth,
                settings.value(QStringLiteral("generate/width"), 10).toInt());
  height_ = spin("IDC_GEN_HEIGHT", numbloc::kMinHeight, numbloc::kMaxHeight,
                 settings.value(QStringLiteral("generate/height"), 10).toInt());
  maxNumber_ = spin("IDC_GEN_MAX", 3, 40, settings.value(QStringLiteral("generate/maxNumber"), 9).toInt());
  FitMaxNumber();
  maxNumber_->setValue(settings.value(QStringLiteral("generate/maxNumber"), 9).toInt());
  difficulty_ = new QComboBox(this);
  difficulty_->setObjectName(QStringLiteral("IDC_GEN_DIFFICULTY"));
  const QString chosen = settings.value(QStringLiteral("generate/difficulty"), QStringLiteral("any")).toString();
  for (const DifficultyChoice& c : kDifficulties) {
    difficulty_->addItem(QString::fromUtf8(c.text), QString::fromLatin1(numbloc::complete::DifficultyKey(c.difficulty)));
    if (chosen == QLatin1String(numbloc::complete::DifficultyKey(c.difficulty))) {
      difficulty_->setCurrentIndex(difficulty_->count() - 1);
    }
  }
  symmetric_ = new QCheckBox(QStringLiteral("ヒントを点対称に置く"), this);
  symmetric_->setObjectName(QStringLiteral("IDC_GEN_SYMMETRIC"));
  symmetric_->setChecked(settings.value(QStringLiteral("generate/symmetric"), false).toBool());
  connect(width_, &QSpinBox::valueChanged, this, &CGenerateDlg::FitMaxNumber);
  connect(height_, &QSpinBox::valueChanged, this, &CGenerateDlg::FitMaxNumber);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("作成"));
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("IDOK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("ｷｬﾝｾﾙ"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("IDCANCEL"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("横(6～30)"), width_);
  form->addRow(QStringLiteral("縦(6～40)"), height_);
  form->addRow(QStringLiteral("最大の数字"), maxNumber_);
  form->addRow(QStringLiteral("難しさ"), difficulty_);
  form->addRow(symmetric_);
  form->addRow(buttons);
}

// The bar offers no number above what the size allows, so neither may the
// new puzzle. (Below 3 no board can be filled, hence the spin box's minimum.)
void CGenerateDlg::FitMaxNumber() {
  maxNumber_->setMaximum(numbloc::DeriveMaxNumber(width_->value(), height_->value()));
}

numbloc::complete::GenerateOptions CGenerateDlg::Options() const {
  numbloc::complete::GenerateOptions options;
  options.width = width_->value();
  options.height = height_->value();
  options.maxNumber = maxNumber_->value();
  numbloc::complete::ParseDifficulty(difficulty_->currentData().toString().toStdString(), options.difficulty);
  options.symmetric = symmetric_->isChecked();
  return options;
}

void CGenerateDlg::Remember() const {
  QSettings settings;
  settings.setValue(QStringLiteral("generate/width"), width_->value());
  settings.setValue(QStringLiteral("generate/height"), height_->value());
  settings.setValue(QStringLiteral("generate/maxNumber"), maxNumber_->value());
  settings.setValue(QStringLiteral("generate/difficulty"), difficulty_->currentData().toString());
  settings.setValue(QStringLiteral("generate/symmetric"), symmetric_->isChecked());
}
