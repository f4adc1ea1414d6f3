#pragma once

#include <QString>

// The HTML pieces shared by the log copy, the log save and the statistics
// export. Qt Core only.
namespace UtHtml {

// "#rrggbb" ("#%02x%02x%02x"); each part is clamped to 0..255.
QString colorText(int red, int green, int blue);

// Text placed in HTML: &, <, >, " and ' as entities.
QString escape(const QString &text);

// An HTML 4.01 document up to and including </head>: doctype, the UTF-8
// charset and the escaped title. The caller writes <body> and the rest.
QString documentHead(const QString &title);

} // namespace UtHtml
