// Start-up of the program and the application's own commands.
#include "app/numbloc_app.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPageSetupDialog>
#include <QTranslator>

#include "app/about_dlg.h"
#include "app/main_frame.h"
#include "app/numbloc_doc.h"
#include "core/board/nbl_file.h"
#include "app/print_job.h"

CNumblocApp::CNumblocApp() : printer_(QPrinter::HighResolution), recent_(numbloc::kRecentFileCount) {}

CNumblocApp::~CNumblocApp() = default;

void CNumblocApp::SetUpProcess(QApplication& application) {
  QCoreApplication::setApplicationName(QStringLiteral("numbloc"));
  QCoreApplication::setOrganizationName(QStringLiteral("numbloc"));
  QCoreApplication::setApplicationVersion(QString::fromLatin1(kNumblocVersion));
  QGuiApplication::setDesktopFileName(QStringLiteral("numbloc"));

  // The interface is Japanese whatever the locale, so the standard buttons
  // and dialogs speak Japanese too.
  auto* translator = new QTranslator(&application);
  if (translator->load(QStringLiteral("qtbase_ja"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(translator);
  else
    delete translator;

  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/numbloc/icons/numbloc-%1.png").arg(size), QSize(size, size));
  QApplication::setWindowIcon(icon);
}

bool CNumblocApp::InitInstance(const QStringList& files) {
  frame_ = std::make_unique<CMainFrame>(*this, state_, printer_);
  frame_->show();
  if (!files.isEmpty()) {
    // The deferred reset of the first repaint must not wipe the loaded
    // puzzle or the message of a failed read: make the start board now and
    // let the repaint only lay it out.
    if (state_.BoardReady == 0) {
      state_.ResetBoard();
      state_.LayoutPending = 1;
    }
    frame_->OpenPuzzlePath(files.first());
  }
  return true;
}

int CNumblocApp::PrintHeadless(const QString& out, const QString& file, QString* error) {
  numbloc::BoardState state;
  state.ResetBoard();
  if (!file.isEmpty()) {
    const numbloc::NblResult read =
        numbloc::ReadNblFile(QFile::encodeName(file).toStdString(), state);
    if (!read.ok) {
      if (error)
        *error = QStringLiteral("numbloc: cannot read %1: %2")
                     .arg(file, QString::fromStdString(read.reason));
      return 1;
    }
  }
  QString reason;
  if (!numbloc::PrintToPdf(state, out, &reason)) {
    if (error) *error = QStringLiteral("numbloc: %1").arg(reason);
    return 1;
  }
  return 0;
}

void CNumblocApp::OnFileNew() {
  // A new document: the document holds nothing and the board stays as it is.
  if (frame_) frame_->Document()->OnNewDocument();
}

void CNumblocApp::OnFilePrintSetup() {
  QPageSetupDialog dialog(&printer_, frame_.get());
  dialog.exec();
}

void CNumblocApp::OnAppAbout() {
  CAboutDlg dlg(frame_.get());
  dlg.exec();
}
