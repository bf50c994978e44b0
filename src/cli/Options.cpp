#include "cli/Options.h"

#include <cerrno>
#include <cstdlib>

#include "log/Log.h"

bool ParseInteger(const std::string& text, long long* out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0') return false;
  *out = v;
  return true;
}

bool Options::Flag(const std::string& name) {
  for (auto it = m_args.begin(); it != m_args.end(); ++it) {
    if (*it == name) {
      m_args.erase(it);
      return true;
    }
  }
  return false;
}

std::optional<std::string> Options::Value(const std::string& name) {
  for (auto it = m_args.begin(); it != m_args.end(); ++it) {
    if (*it == name && it + 1 != m_args.end()) {
      std::string v = *(it + 1);
      m_args.erase(it, it + 2);
      return v;
    }
    if (it->size() > name.size() && it->compare(0, name.size() + 1, name + "=") == 0) {
      std::string v = it->substr(name.size() + 1);
      m_args.erase(it);
      return v;
    }
  }
  return std::nullopt;
}

bool Options::Int(const std::string& name, long long* out) {
  auto v = Value(name);
  if (!v) return true;
  if (!ParseInteger(*v, out)) {
    LogPrint(LogError, "\nERROR: %s needs an integer, not \"%s\"", name.c_str(), v->c_str());
    return false;
  }
  return true;
}

bool Options::Rest(std::vector<std::string>* out) const {
  for (const auto& a : m_args) {
    if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      LogPrint(LogError, "\nERROR: unknown option %s", a.c_str());
      return false;
    }
  }
  *out = m_args;
  return true;
}
