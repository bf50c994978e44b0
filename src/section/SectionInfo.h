// The Section Info text: one block of lines that summarises a section and its
// file headers, rebuilt by every scan of a non-empty section and shown by the
// settings panel.
//
// It lives in the section layer, not in display, because the scan builds it.
// Text is UTF-8; its bounds count characters, never bytes.
#pragma once

#include <cstddef>
#include <string>

class SeismicSection;

// The whole text holds at most this many characters.
inline constexpr std::size_t kSectionInfoMaxChars = 1760;
// Each piece (one line, or a line's lead-in) is cut to this many characters.
inline constexpr std::size_t kSectionInfoPieceChars = 44;
// The text of a section without traces (set by the scan).
inline constexpr const char* kEmptySectionInfo = "\n\n\n  Empty Data Set";

// Builds the Section Info text from the section's summary, ranges, binary
// header copy and first trace. Reads the section only.
std::string SectionInfoText(const SeismicSection& section);
// Stores SectionInfoText(section) in section.m_sectionInfo.
void BuildSectionInfo(SeismicSection& section);
