#pragma once

#include "gui/panes/wait_cursor.h"

#include <QAbstractItemView>

namespace tralvo {

// The wait cursor, and no redrawing of a list, while a blocking step fills or reorders it:
// thousands of rows are drawn once, when the step is done.
class ListWork {
public:
    explicit ListWork(QAbstractItemView& list) : list_(list) { list_.setUpdatesEnabled(false); }
    ~ListWork() { list_.setUpdatesEnabled(true); }
    ListWork(const ListWork&) = delete;
    ListWork& operator=(const ListWork&) = delete;

private:
    WaitCursor wait_;
    QAbstractItemView& list_;
};

} // namespace tralvo
