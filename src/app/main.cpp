// numbloc: the puzzle window, or with --print-to the printed page as a PDF.
#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>
#include <cstdio>
#include <cstring>

#include "app/main_frame.h"
#include "app/numbloc_app.h"

namespace {

bool HasOption(int argc, char** argv, const char* name) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], name) == 0 ||
        (std::strncmp(argv[i], name, std::strlen(name)) == 0 && argv[i][std::strlen(name)] == '='))
      return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  // Printing to a file, the version and the help show no window: they run on
  // the offscreen platform, so they work without a display.
  const bool windowless = HasOption(argc, argv, "--print-to") ||
                          HasOption(argc, argv, "--version") || HasOption(argc, argv, "-v") ||
                          HasOption(argc, argv, "--help") || HasOption(argc, argv, "-h");
  if (windowless && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");

  QApplication application(argc, argv);
  CNumblocApp::SetUpProcess(application);

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Numbloc puzzle tool"));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption printTo(QStringLiteral("print-to"),
                                   QStringLiteral("Write the printed page as a PDF file and exit."),
                                   QStringLiteral("OUT.pdf"));
  parser.addOption(printTo);
  parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Puzzle file (.nbl) to open."),
                               QStringLiteral("[FILE.nbl]"));
  parser.process(application);

  const QStringList files = parser.positionalArguments();
  if (parser.isSet(printTo)) {
    QString error;
    const int code = CNumblocApp::PrintHeadless(parser.value(printTo),
                                                files.isEmpty() ? QString() : files.first(), &error);
    if (code != 0) std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
    return code;
  }

  CNumblocApp app;
  if (!app.InitInstance(files)) return 1;
  return application.exec();
}
