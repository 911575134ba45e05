#pragma once

#include <string>

namespace partwright::about {

inline constexpr char kWindowTitle[] = "About...";
inline constexpr char kTitle[] = "Partwright";
inline constexpr char kContactAddress[] = "quillon@partwright.example";

// "Version " and the version triple, e.g. Version 1.1.0.
std::string VersionText();

// Five lines joined with CR LF; the fourth is empty and the last has no line break after it.
std::string Description();

} // namespace partwright::about
