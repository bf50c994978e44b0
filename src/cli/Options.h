// Small option reader shared by kxtool's commands.
#pragma once

#include <optional>
#include <string>
#include <vector>

class Options {
 public:
  explicit Options(std::vector<std::string> args) : m_args(std::move(args)) {}

  // Removes "--name" and returns true when it was present.
  bool Flag(const std::string& name);
  // Removes "--name VALUE" (or "--name=VALUE") and returns VALUE.
  std::optional<std::string> Value(const std::string& name);
  // An integer option; false (with a logged error) when present but not an integer.
  bool Int(const std::string& name, long long* out);
  // What is left, in order; false (with a logged error) when an unknown "--" option is left.
  bool Rest(std::vector<std::string>* out) const;

 private:
  std::vector<std::string> m_args;
};

// Parses a whole decimal integer; false on junk or overflow.
bool ParseInteger(const std::string& text, long long* out);
