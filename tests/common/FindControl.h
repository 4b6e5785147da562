// A control of a window by its id, as the forms name their controls; a
// missing control fails the test that asked for it.
#pragma once

#include <QWidget>
#include <gtest/gtest.h>

#include "ControlName.h"

template <typename T = QWidget>
T* FindControl(const QWidget& window, int nId)
{
    T* pWidget = window.findChild<T*>(ControlName(nId));
    EXPECT_NE(pWidget, nullptr) << "control " << nId;
    return pWidget;
}
