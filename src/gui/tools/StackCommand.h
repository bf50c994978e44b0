// "Selective Stack": loads repeated shot files as one section, stacks them
// channel by channel and shows the stack in a second trace view titled
// " STACK" beside the section. While a stack exists the main view works in
// role 2: Shift-click excludes or includes a trace, Ctrl-click a whole
// gather, and its popup saves the stacks. The main window owns this
// controller; it owns the stack view window. It observes the workspace from
// construction to destruction: a load ends the stack.
//
// The dialogs and message boxes go through replaceable functions so that
// tests drive the command without blocking. User-interface thread only.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "app/WorkspaceObserver.h"
#include "processing/SelectiveStack.h"

class QAction;
class QWidget;
class TraceViewWidget;
class Workspace;

inline constexpr const char* kStackOpenDialogTitle = " Open seismic files";
inline constexpr const char* kStackOpenDialogFilter = "Seismic file (segy,seg2)";
inline constexpr const char* kStackViewTitle = " STACK";
inline constexpr const char* kStackErrorTitle = " ERROR";

class StackCommand : public QObject, public WorkspaceObserver {
  Q_OBJECT

 public:
  // Returns the chosen files (empty: cancelled), starting in startFolder.
  using FilesChooser = std::function<QStringList(const QString& startFolder)>;
  // Returns the chosen name (empty: cancelled).
  using SaveNameChooser =
      std::function<QString(const QString& title, const QString& filter, const QString& startFolder)>;
  using MessageShower = std::function<void(const QString& title, const QString& text)>;

  // owner: the main window (dialog and message box parent); functions: the
  // "Functions" menu's action, greyed while a stack is shown.
  StackCommand(Workspace& workspace, TraceViewWidget* mainView, QWidget* owner, QAction* functions);
  ~StackCommand() override;

  void SetFilesChooser(FilesChooser chooser) { m_chooseFiles = std::move(chooser); }
  void SetSaveNameChooser(SaveNameChooser chooser) { m_chooseSaveName = std::move(chooser); }
  void SetMessageShower(MessageShower shower) { m_showMessage = std::move(shower); }

  // The menu command. Returns 0 when a stack is shown, kStatusRefused when cancelled,
  // refused or ignored (busy), kStatusNoMemory without memory, else the stack status.
  int StackGathers();
  // Requests of the main view in role 2 (absolute trace index).
  void ToggleTrace(int trace);
  void ToggleGather(int trace);
  // "Save Stacks ": 0 when written; kStatusRefused cancelled or nothing to save; else
  // the writer's status (logged).
  int SaveStacksCommand();
  // The stack view's close box: the view goes, the main view returns to role 1
  // and the "Functions" menu comes back.
  void CloseStackView();
  // The section is about to go (a load): the stack view goes with it.
  void SectionClearing() override { DestroyStackView(false); }

  TraceViewWidget* StackView() const { return m_stackView; }
  const std::vector<Gather>& Gathers() const { return m_gathers; }
  const QString& LastFolder() const { return m_lastFolder; }
  // The folder the dialogs start in: the last one used, with a trailing '/'.
  QString StartFolder() const;

 private:
  int LoadShots(const QStringList& files);
  int StackLoaded();
  int RunStack();
  void Refuse(const char* text);
  void CreateStackView();
  void ShowStack();
  void Restack();
  void SetMainRole(int role);
  void DestroyStackView(bool deferred);
  void FitStackView();
  void RestoreMainLabels();
  QStringList ChooseWithDialog(const QString& startFolder);
  QString ChooseSaveWithDialog(const QString& title, const QString& filter, const QString& startFolder);

  Workspace& m_workspace;
  QPointer<TraceViewWidget> m_view;
  QPointer<QWidget> m_owner;
  QPointer<QAction> m_functions;
  TraceViewWidget* m_stackView = nullptr;
  std::vector<Gather> m_gathers;
  // The main view's header-word labels before the stack put up its own.
  bool m_labelsSaved = false;
  std::vector<int> m_savedLabels;
  int m_savedLabelStep = 0;
  QString m_lastFolder;
  FilesChooser m_chooseFiles;
  SaveNameChooser m_chooseSaveName;
  MessageShower m_showMessage;
};
