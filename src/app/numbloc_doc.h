// The document of the single-document window. Puzzle state lives in the
// board state, and puzzle files are read and written by the window's own
// commands, so the document holds nothing.
#pragma once

#include <QObject>
#include <QString>

class CNumblocDoc : public QObject {
  Q_OBJECT

 public:
  explicit CNumblocDoc(QObject* parent = nullptr) : QObject(parent) {}

  // A new document: nothing to prepare; the board is left as it is.
  bool OnNewDocument() { return true; }

  // The document's title in the window caption: its name while it has no file.
  QString Title() const { return QStringLiteral("ナムブロック"); }
};
