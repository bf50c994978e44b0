// The "Header Words" tab of the settings panel: which header words label the
// traces above the plot, in which order, and how densely. Checking a word in
// the catalogue list puts it at the top of the chosen list; "Apply" hands the
// chosen words and the graduate step to the view, while "Hgrad" and "Vgrad"
// go to the view at once.
#pragma once

#include <QWidget>

#include "display/LabelWordList.h"

class DisplayTarget;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;

class HeaderWordsPage : public QWidget {
  Q_OBJECT

 public:
  explicit HeaderWordsPage(QWidget* parent = nullptr);

  // Binds the page to a view (nullptr: none) and refills the controls from
  // the view's words, graduate step and Hgrad/Vgrad.
  void SetTarget(DisplayTarget* view);
  DisplayTarget* Target() const { return m_view; }

  // "Up"/"Down" on the chosen list's current entry, "Clear", "Apply".
  void MoveChosen(bool up);
  void ClearChosen();
  void Apply();
  const LabelWordList& Chosen() const { return m_words; }

  // Controls, for tests.
  QTreeWidget* WordList() const { return m_list; }
  QListWidget* ChosenList() const { return m_chosen; }
  QPushButton* UpButton() const { return m_up; }
  QPushButton* DownButton() const { return m_down; }
  QPushButton* ClearButton() const { return m_clear; }
  QPushButton* ApplyButton() const { return m_apply; }
  QLineEdit* GraduateStepField() const { return m_step; }
  QSpinBox* HgradSpin() const { return m_hgrad; }
  QSpinBox* VgradSpin() const { return m_vgrad; }

 private:
  QWidget* BuildWordList();
  QWidget* BuildButtons();
  QWidget* BuildGraduation();
  void ItemChanged(QTreeWidgetItem* item, int column);
  void GradChanged();
  // The chosen list shows m_words; current is the entry to select (-1 none).
  void ShowChosen(int current);
  void CheckListedWords();
  void ReturnFocus();

  DisplayTarget* m_view = nullptr;
  // The user changed the choice since it was last applied or cleared.
  bool m_choicePending = false;
  LabelWordList m_words;
  QTreeWidget* m_list = nullptr;
  QListWidget* m_chosen = nullptr;
  QPushButton* m_up = nullptr;
  QPushButton* m_down = nullptr;
  QPushButton* m_clear = nullptr;
  QPushButton* m_apply = nullptr;
  QLineEdit* m_step = nullptr;
  QSpinBox* m_hgrad = nullptr;
  QSpinBox* m_vgrad = nullptr;
};
