#pragma once

#include <functional>
#include <utility>

namespace tralvo {

// A dialog of the main window, made when it is first needed: each one costs the start a few
// milliseconds, and most runs never open it. Tests hand in one made beforehand.
template <class Form>
class FormOnDemand {
public:
    void Set(Form* form) {
        form_ = form;
        make_ = nullptr;
    }
    void Set(std::function<Form*()> make) {
        form_ = nullptr;
        make_ = std::move(make);
    }

    Form* Get() {
        if (form_ == nullptr && make_) {
            form_ = make_();
        }
        return form_;
    }

private:
    Form* form_ = nullptr;
    std::function<Form*()> make_;
};

} // namespace tralvo
