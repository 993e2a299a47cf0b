#pragma once

#include "i18n/component_text.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tralvo {

// A component of one of the windows whose text comes from the catalogue.
struct CatalogueComponent {
    std::string_view windowClass; // "TMainForm", "TSettingsForm", "TOrderProbeForm", ...
    std::string_view component;   // the component's name
    ComponentKind kind;
};

// Every string key the program looks up with GetLangString.
std::span<const std::string_view> ProgramStringKeys();

// Every component whose text ApplyLanguage fills, in the windows' component order.
std::span<const CatalogueComponent> ProgramComponents();

// Windows whose caption comes from the catalogue (the main window keeps "Tralvo!").
std::span<const std::string_view> CataloguedWindows();

// Every property key the program looks up: window captions, component keys and the keys
// read directly (such as "TMainForm.PlayerStatusEB.Text").
std::vector<std::string> ProgramPropertyKeys();

} // namespace tralvo
