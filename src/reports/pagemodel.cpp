#include "reports/pagemodel.h"

#include <algorithm>

namespace {

std::vector<const PageItem*> textItemsInReadingOrder(const ReportPage& page)
{
    std::vector<const PageItem*> items;
    for (const PageItem& item : page.items) {
        if (item.kind == PageItem::Kind::Text) {
            items.push_back(&item);
        }
    }
    std::stable_sort(items.begin(), items.end(), [](const PageItem* a, const PageItem* b) {
        // Items whose tops differ by less than a hair count as one line.
        if (std::abs(a->rect.top() - b->rect.top()) > 0.01) {
            return a->rect.top() < b->rect.top();
        }
        return a->rect.left() < b->rect.left();
    });
    return items;
}

} // namespace

QStringList ReportPage::texts() const
{
    QStringList out;
    for (const PageItem* item : textItemsInReadingOrder(*this)) {
        out << item->text;
    }
    return out;
}

std::vector<const PageItem*> ReportPage::findTexts(const QString& part) const
{
    std::vector<const PageItem*> found;
    for (const PageItem* item : textItemsInReadingOrder(*this)) {
        if (item->text.contains(part)) {
            found.push_back(item);
        }
    }
    return found;
}

QSizeF ReportDocument::paperSize() const
{
    const QSizeF size = pageSize.size(QPageSize::Point);
    return orientation == QPageLayout::Landscape ? size.transposed() : size;
}
