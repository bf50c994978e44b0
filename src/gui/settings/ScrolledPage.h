// A settings page whose controls scroll when the panel is smaller than they
// need, instead of being squeezed over each other.
#pragma once

class QWidget;

// Fills page with a frameless scroll area and returns the widget inside it,
// on which the page lays out its controls.
QWidget* MakeScrolledBody(QWidget* page);
