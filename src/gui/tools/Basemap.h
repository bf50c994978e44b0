// The "Basemap" window: the surface positions of the loaded section (CDPs,
// receivers, sources) and the digitized profile, with the bar that chooses
// what is shown, the symbol size, the map tool and the profile action. One per
// main window, made on first use, hidden (not destroyed) when closed and
// rebuilt from the section on every load. It observes the workspace from
// construction to destruction and reaches the main view only through
// TheWorkspace().MainView().
//
// The file dialogs and the question box go through replaceable functions so
// that tests drive the window without blocking. User-interface thread only.
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "app/WorkspaceObserver.h"
#include "app/tools/ProfileEditor.h"
#include "display/BasemapGraphs.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QToolButton;
class Workspace;
class XYMapperWidget;

inline constexpr const char* kBasemapTitle = "Basemap";
inline constexpr const char* kPolylineFilter = "Text files (*.txt, *.csv)";
inline constexpr const char* kPolylineLoadTitle = " Load a digitized polyline";
inline constexpr const char* kPolylineSaveTitle = " Save digitized polyline";
inline constexpr const char* kReplacePolylineText = "Replace current polyline ?";

class Basemap : public QWidget, public WorkspaceObserver {
  Q_OBJECT

 public:
  // Returns the chosen file (empty: cancelled).
  using FileChooser = std::function<QString(const QString& title, const QString& filter)>;
  // A Yes/No question; true for Yes.
  using Asker = std::function<bool(const QString& title, const QString& text)>;

  explicit Basemap(Workspace& workspace, QWidget* parent = nullptr);
  ~Basemap() override;

  void SetOpenChooser(FileChooser chooser) { m_chooseOpen = std::move(chooser); }
  void SetSaveChooser(FileChooser chooser) { m_chooseSave = std::move(chooser); }
  void SetAsker(Asker asker) { m_ask = std::move(asker); }

  // Rebuilds the three point sets from the section (none below 2 traces) and,
  // unless told otherwise, fits the map to them.
  void Rebuild(const SeismicSection* section, bool fullExtent = true);
  // The user range when set, otherwise the extent of the shown sets.
  void FullExtent();
  void SetUserRange(const MapRange& range) { m_userRange = range; }
  // Replaces the CDP set (the binning's retained midpoints).
  void SetCdpPoints(std::vector<MapPoint> points);

  // The action list's entry with that text, as if the user picked it.
  void ChooseAction(const QString& item);
  // "Load From File" / "Save To File": 0 done, kStatusRefused cancelled or
  // refused, else the file routine's status.
  int LoadPolyline();
  int SavePolyline();

  ProfileEditor& Profile() { return m_profile; }
  const XYGraph& Graph(int i) const { return m_graphs[static_cast<std::size_t>(i)]; }
  XYMapperWidget* Map() const { return m_map; }
  QCheckBox* SetBox(int graph) const { return m_setBoxes[static_cast<std::size_t>(graph)]; }
  QCheckBox* ProfileBox() const { return m_profileBox; }
  QComboBox* ActionList() const { return m_actions; }
  QComboBox* SymSizeList() const { return m_symSize; }
  QToolButton* ToolButton(int i) const { return m_tools[static_cast<std::size_t>(i)]; }

  // WorkspaceObserver
  void SectionLoaded(const SeismicSection& section, const LoadParams&) override { Rebuild(&section); }
  void TracesChanged(const SeismicSection& section) override { Rebuild(&section); }
  // The points carry trace positions, which a sort changes; the map stays where it is.
  void TracesReordered(const SeismicSection& section) override { Rebuild(&section, false); }
  void SectionClearing() override { Rebuild(nullptr); }
  void BusyChanged(bool busy) override { setEnabled(!busy); }

 signals:
  // The "2D binning" button.
  void BinningWanted();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* BuildBar();
  void BuildTools(QWidget* bar, class QHBoxLayout* row);
  void ApplySymbolSizes();
  void FillActionList();
  void ActionPicked(int index);
  void ProfileToggled(bool on);
  void ToolToggled(int tool, bool on);
  void ProfileChanged();
  void FinishDigitizing();
  void MapClicked(double x, double y);
  void MapMoved(double x, double y);
  void EscapePressed();
  void BackspacePressed();
  std::vector<const XYGraph*> Shown() const;
  int ReadoutSet() const;

  Workspace& m_workspace;
  const SeismicSection* m_section = nullptr;
  BasemapGraphs m_graphs;
  ProfileEditor m_profile;
  MapRange m_userRange;
  XYMapperWidget* m_map = nullptr;
  std::array<QCheckBox*, 3> m_setBoxes{};
  std::array<QToolButton*, 4> m_tools{};
  QComboBox* m_symSize = nullptr;
  QCheckBox* m_profileBox = nullptr;
  QComboBox* m_actions = nullptr;
  bool m_fillingActions = false;
  FileChooser m_chooseOpen;
  FileChooser m_chooseSave;
  Asker m_ask;
};
