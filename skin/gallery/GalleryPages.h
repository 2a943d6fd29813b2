#pragma once
// The pages of the skin gallery. Each returns a widget that shows its whole content at
// its natural size (the gallery wraps it in a scroll area and saves it whole).
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

namespace gallery {

struct Page {
    QString name;
    QWidget* content;
};

QWidget* ButtonsPage();
QWidget* SlidersPage();
QWidget* SkinButtonsPage();
QWidget* ListPage();
QWidget* ComboPage();
QWidget* ShadowPage();
QWidget* CompositionPage();
// A frameless shaped window (face 353) with its drop shadow.
QWidget* OpenShadowedWindow();
// Pictures of one set whose ids pass the filter, each labelled with id and size.
QWidget* PicturesPage(bool osd, const std::function<bool(int id, QSize size)>& filter);

// A captioned cell: a title above a widget.
QWidget* Cell(const QString& title, QWidget* body);
// Dark page with a grid of cells, `columns` per row.
QWidget* Grid(const std::vector<QWidget*>& cells, int columns);

}  // namespace gallery
