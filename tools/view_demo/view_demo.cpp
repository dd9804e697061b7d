// Shows the board window on its own, for looking at it during development.
#include <QApplication>

#include "core/board/board_state.h"
#include "view/numbloc_view.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  static numbloc::BoardState state;
  CNumblocView view(state);
  view.show();
  return app.exec();
}
