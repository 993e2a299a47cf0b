#include "i18n/component_text.h"

#include "i18n/language_catalogue.h"

namespace tralvo {

std::optional<ComponentProperty> PropertyOf(ComponentKind kind) {
    switch (kind) {
    case ComponentKind::PushButton:
    case ComponentKind::Label:
    case ComponentKind::RadioButton:
    case ComponentKind::CheckBox:
        return ComponentProperty::Caption;
    case ComponentKind::EditBox:
        return ComponentProperty::Text;
    case ComponentKind::SpeedButton:
    case ComponentKind::ProgressBar:
    case ComponentKind::ToolButton:
        return ComponentProperty::Hint;
    case ComponentKind::Other:
        break;
    }
    return std::nullopt;
}

std::string_view PropertySuffix(ComponentProperty property) {
    switch (property) {
    case ComponentProperty::Caption:
        return ".Caption";
    case ComponentProperty::Text:
        return ".Text";
    case ComponentProperty::Hint:
        return ".Hint";
    }
    return {};
}

std::string WindowCaptionKey(std::string_view windowClass) {
    return std::string(windowClass) + ".Caption";
}

std::string ComponentKey(std::string_view windowClass, std::string_view component,
                         ComponentKind kind) {
    const std::optional<ComponentProperty> property = PropertyOf(kind);
    if (!property) {
        return {};
    }
    std::string key(windowClass);
    key += '.';
    key += component;
    key += PropertySuffix(*property);
    return key;
}

std::optional<ComponentText> TextForComponent(const LanguageCatalogue& catalogue,
                                              std::string_view windowClass,
                                              std::string_view component, ComponentKind kind,
                                              int tag) {
    const std::optional<ComponentProperty> property = PropertyOf(kind);
    if (tag == KeepTextTag || !property) {
        return std::nullopt;
    }
    std::string text = catalogue.Property(ComponentKey(windowClass, component, kind), false);
    if (text.empty()) {
        return std::nullopt;
    }
    return ComponentText{*property, std::move(text)};
}

std::optional<std::string> CaptionForWindow(const LanguageCatalogue& catalogue,
                                            std::string_view windowClass, int tag) {
    if (tag == KeepTextTag) {
        return std::nullopt;
    }
    std::string text = catalogue.Property(WindowCaptionKey(windowClass), false);
    if (text.empty()) {
        return std::nullopt;
    }
    return text;
}

} // namespace tralvo
