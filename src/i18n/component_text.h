#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tralvo {

class LanguageCatalogue;

// The kinds of component whose text the catalogue fills; every other kind is left alone.
enum class ComponentKind {
    PushButton,
    EditBox,
    Label,
    SpeedButton,
    RadioButton, // also the wrapping kind
    CheckBox,    // also the wrapping kind
    ProgressBar,
    ToolButton,
    Other, // panels, lists, combo boxes, images, trees, track bars, timers, ...
};

enum class ComponentProperty { Caption, Text, Hint };

// Which property of a kind the catalogue sets; nothing for kinds it leaves alone.
std::optional<ComponentProperty> PropertyOf(ComponentKind kind);

// ".Caption", ".Text" or ".Hint".
std::string_view PropertySuffix(ComponentProperty property);

// "TSettingsForm.Caption" for the window itself.
std::string WindowCaptionKey(std::string_view windowClass);
// "TSettingsForm.OKBtn.Caption"; empty for kinds the catalogue leaves alone.
std::string ComponentKey(std::string_view windowClass, std::string_view component,
                         ComponentKind kind);

// Components and windows whose tag is this keep the text the program gives them.
constexpr int KeepTextTag = -1;

struct ComponentText {
    ComponentProperty property;
    std::string text;
};

// The text the catalogue gives a component: nothing when its tag is KeepTextTag, its kind
// is left alone, or the catalogue has no (or an empty) text for it; the design text stays.
std::optional<ComponentText> TextForComponent(const LanguageCatalogue& catalogue,
                                              std::string_view windowClass,
                                              std::string_view component, ComponentKind kind,
                                              int tag);
// The caption the catalogue gives a window, under the same rules.
std::optional<std::string> CaptionForWindow(const LanguageCatalogue& catalogue,
                                            std::string_view windowClass, int tag);

} // namespace tralvo
