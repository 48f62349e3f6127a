#pragma once

#include <QDate>
#include <QStringList>

namespace dorvik::reports {

// " Doklady ": which issue documents a report takes.
enum class DocumentKind { All = 0, NotInvoiced = 1, Invoiced = 2, Internal = 3 };
// Their captions, in that order.
QStringList documentKindItems();

// The period, cost centre and kind of documents the issue-document and order reports share.
struct DocumentFilter {
    QDate from;
    QDate to;              // counts whole: documents carry the time of day
    QString centre;        // empty: every cost centre
    DocumentKind kind = DocumentKind::All;
};

// "Sestavy výdej": one select per report, over the documents' headers joined to their lines.
enum class IssueReport { Documents = 0, Breakdown = 1, Items = 2 };

struct IssueRequest {
    DocumentFilter filter;
    IssueReport report = IssueReport::Documents;
    bool perItem = false; // " Součet " "Součet za JKP"; the breakdown only
};

QString issueSelect(const IssueRequest& request);
QString issueTemplate(const IssueRequest& request);

// "Sestavy zakázky": the same documents, those made for orders, grouped by order.
enum class OrderReport { Orders = 0, Documents = 1, Breakdown = 2, Items = 3 };

struct OrderRequest {
    DocumentFilter filter;
    QString order;        // empty: every document that has an order
    OrderReport report = OrderReport::Orders;
    bool perItem = false; // the breakdown only
};

QString orderSelect(const OrderRequest& request);
QString orderTemplate(const OrderRequest& request);

} // namespace dorvik::reports
