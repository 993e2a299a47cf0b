#include "gui/panes/list_work.h"

#include <QListView>
#include <gtest/gtest.h>

namespace tralvo {
namespace {

TEST(ListWork, StopsRedrawingOnlyWhileTheWorkLasts) {
    QListView list;
    {
        const ListWork work(list);
        EXPECT_FALSE(list.updatesEnabled());
    }
    EXPECT_TRUE(list.updatesEnabled());
}

} // namespace
} // namespace tralvo
