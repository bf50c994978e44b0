// The basemap's profile polyline while the user digitizes it: the current
// action (add, insert, remove, reshape), what a click, a mouse move, Backspace
// and "Finished" do to the points, and the texts of the action list. No Qt;
// the window forwards map positions and redraws when a call returns true.
#pragma once

#include <string>
#include <vector>

#include "display/XYMapper.h"
#include "processing/Profile.h"

enum class ProfileAction { kNone = 0, kAdd = 1, kInsert = 2, kRemove = 3, kReshape = 4 };

// The action list's texts.
inline constexpr const char* kActionSelect = "Select Action";
inline constexpr const char* kActionLoad = "Load From File";
inline constexpr const char* kActionDigitize = "Digitize";
inline constexpr const char* kActionFinished = "Finished";
inline constexpr const char* kActionSave = "Save To File";
inline constexpr const char* kActionAdd = "Add Points";
inline constexpr const char* kActionReshape = "Reshape";
inline constexpr const char* kActionRemove = "Remove Points";
inline constexpr const char* kActionInsert = "Insert Points";
inline constexpr const char* kActionClear = "Clear All";

class ProfileEditor {
 public:
  // The points as drawn: while an insert waits for its first mouse move the
  // gap point has x = DBLE_UNDEF. Tags are unused (-1).
  const std::vector<MapPoint>& Points() const { return m_points; }
  int Count() const { return static_cast<int>(m_points.size()); }
  ProfileAction Action() const { return m_action; }
  bool Digitizing() const { return m_action != ProfileAction::kNone; }
  // The index of the point that follows the mouse (insert, reshape); -1 none.
  int MovingIndex() const { return m_moving; }

  // Ends the current action first (as "Finished"), then starts a.
  void Start(ProfileAction a);
  // A reshape in progress goes back to its remembered place, an insert in
  // progress loses its point; the action becomes none.
  void Finish();
  void ClearAll();
  // Replaces the points (at most kProfileMaxPoints kept); ends any action.
  void SetPoints(const std::vector<ProfilePoint>& points);
  // The defined points, for saving and binning.
  std::vector<ProfilePoint> DefinedPoints() const;
  Profile ToProfile() const { return Profile(DefinedPoints()); }

  // A click at a map position for the current action; true when the points
  // changed.
  bool Click(double x, double y);
  // The mouse moved: the moving point follows; true when it changed.
  bool Move(double x, double y);
  // While adding, removes the last point; true when one was removed.
  bool Backspace();

  // The action list: "Select Action" first, then the entries that apply.
  std::vector<std::string> ActionItems() const;
  // The action an item starts (kNone for the others).
  static ProfileAction ActionOfItem(const std::string& item);

 private:
  int Nearest(double x, double y) const;
  int InsertionPlace(double x, double y) const;

  std::vector<MapPoint> m_points;
  ProfileAction m_action = ProfileAction::kNone;
  int m_moving = -1;
  MapPoint m_saved;  // the reshaped point's place before the pick
};
