#pragma once

#include <QChar>
#include <QString>

#include <functional>

class AppContext;
class QComboBox;

// Type-ahead search in drop-down lists. One search state is shared by every list of the program: the
// characters typed so far, the list they were typed in and when the last one came. A key typed in
// another list, or after a pause of at least the church's KeyPressDelay seconds, starts a new search.
namespace ComboKeySearch {

// Handles one typed character (Backspace, Enter and Escape included: they only lengthen the prefix and
// match nothing). Selects the first entry that starts with the prefix, ignoring case, and tells the list's
// listeners exactly as a user's choice does (activated and, when it changed, currentIndexChanged). In an
// open drop-down the match is only highlighted and scrolled into view; Enter then takes it. When nothing
// matches the selection stays. The caller swallows the key in any case. True when an entry matched.
bool handleKey(QComboBox& list, QChar key, double delaySeconds, double nowSeconds);
// The same, with the delay from the church row and the time from the context's clock.
bool handleKey(QComboBox& list, QChar key, AppContext& context);

// The prefix of the current search (for tests and diagnostics).
QString currentPrefix();
// Forgets the letters typed so far: the next key starts a new search in any list. A screen starting a new
// record calls it, so that letters typed for one record never continue into the next.
void startNewSearch();
// The same, for tests between cases.
void resetForTests();

} // namespace ComboKeySearch

// Told after each printable character typed into a list: the search text so far and whether an entry begins
// with it (when none does, the selection has stayed where it was).
using TypeAheadListener = std::function<void(const QString& typed, bool matched)>;

// Makes the list search as the user types: every key that produces a character goes to ComboKeySearch
// and is swallowed, also while the list is dropped down. Keys with Ctrl, Alt or Meta pass through.
void attachTypeAhead(QComboBox* list, AppContext& context, TypeAheadListener listener = {});
