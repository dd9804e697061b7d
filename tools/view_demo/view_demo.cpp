// Shows the board window on its own, for looking at it during development.
//   numbloc-view-demo [WIDTH HEIGHT]
#include <QApplication>
#include <QStringList>

#include "core/board/board_state.h"
#include "view/numbloc_view.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  static numbloc::BoardState state;
  const QStringList args = app.arguments();
  if (args.size() == 3) {
    const int width = args[1].toInt(), height = args[2].toInt();
    if (width >= numbloc::kMinWidth && width <= numbloc::kMaxWidth &&
        height >= numbloc::kMinHeight && height <= numbloc::kMaxHeight) {
      state.BoardWidth = static_cast<std::uint8_t>(width);
      state.BoardHeight = static_cast<std::uint8_t>(height);
    }
  }
  CNumblocView view(state);
  view.show();
  return app.exec();
}
