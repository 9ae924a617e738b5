#pragma once

class QDialog;
class QWidget;

// Makes the dialog modeless, and one that, left open, does not keep the program
// running once the main window is closed.
void makeModeless(QDialog& dialog);

// Where a modeless dialog first shows: right of the main window, else left of it,
// where the screen has room; else over the left edge of `anchor` (the main view),
// clear of its middle and of the library view. Level with the view's top, or with its
// bottom for `atBottom`, so that two dialogs beside the window leave each other room.
void placeBeside(QWidget& dialog, const QWidget& anchor, bool atBottom = false);
