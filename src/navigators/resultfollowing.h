#pragma once

#include <functional>

class AppContext;
class MemberGridModel;
class QWidget;

// Keeps a search screen current while people change on other screens: a person saved elsewhere is read again
// where his row is listed, a deleted one leaves the result (and the result is counted again), and the search
// lists are refilled, keeping their choices, after either and after a lookup list changed.
void followRollChanges(QWidget* screen, AppContext& context, MemberGridModel* model,
                       const std::function<void()>& refillLists, const std::function<void()>& showCount);
