// The desktop side of tolerant reading: the message box of a refused load,
// which can offer "Open tolerantly", and the open dialog of "Open
// Tolerantly...", the load dialog with one more field for the interval of
// traces that carry none. The texts and rules are in app/LoadRefusalText.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class QWidget;

// Shows the refusal; true when the user chose "Open tolerantly" (only offered
// when offerTolerant).
bool AskAfterLoadRefusal(QWidget* parent, const QString& title, const QString& text, bool offerTolerant);

// The files chosen (empty: cancelled), the filter index (1-based) and the
// interval in microseconds (0: the binary header's, else 4 ms).
QStringList ChooseFilesTolerantly(QWidget* parent, const QString& startFolder, int* filterIndex,
                                  int32_t* intervalUs);
