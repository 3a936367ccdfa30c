// The program's name and version as the window shows them.
#pragma once

namespace kaimo::product {

inline constexpr const char* kName = "Kaimo";
inline constexpr const char* kOrganisation = "Quorvel";
inline constexpr const char* kVersion = "13.02";
// The name of the installed desktop entry and of the AppStream component.
inline constexpr const char* kDesktopId = "com.quorvel.kaimo";
// The about box and the status bar's idle message.
inline constexpr const char* kTitleLine = "Kaimo Version 13.02";

}  // namespace kaimo::product
