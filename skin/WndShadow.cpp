#include "skin/WndShadow.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <vector>

#ifdef PALLIX_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

namespace pallix {
namespace {

int gAvailable = -1;  // -1 not decided yet

// The picture the shadow window shows; input passes through it.
class ShadowSurface : public QWidget {
public:
    explicit ShadowSurface(QWidget* owner)
        : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                             Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint) {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    QImage picture;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, picture);
    }
};

#ifdef PALLIX_HAVE_XCB
bool X11HasCompositor() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return false;
    xcb_connection_t* c = x11->connection();
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(0);
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, name.size(), name.constData()), nullptr);
    if (!atom) return false;
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr);
    const bool has = owner && owner->owner != XCB_NONE;
    free(owner);
    free(atom);
    return has;
}
#endif

// Per row: first and last column inside, or first > last for an empty row.
struct Span {
    int first = 1, last = 0;
    bool Empty() const { return first > last; }
};

std::vector<Span> RowSpans(const QSize& size, const QRegion& shape) {
    std::vector<Span> rows(size.height(), Span{0, size.width() - 1});
    if (shape.isEmpty()) return rows;
    for (Span& s : rows) s = Span{};
    for (const QRect& r : shape) {
        for (int y = std::max(0, r.top()); y <= std::min(size.height() - 1, r.bottom()); ++y) {
            Span& s = rows[y];
            const int l = std::max(0, r.left()), rr = std::min(size.width() - 1, r.right());
            if (l > rr) continue;
            if (s.Empty()) s = Span{l, rr};
            else s = Span{std::min(s.first, l), std::max(s.last, rr)};
        }
    }
    return rows;
}

}  // namespace

CWndShadow::CWndShadow() = default;

CWndShadow::~CWndShadow() {
    if (parent_) parent_->removeEventFilter(this);
    delete shadow_.data();
}

void CWndShadow::InitShadows() {
    if (gAvailable >= 0) return;
    const QString platform = QGuiApplication::platformName();
    bool available = true;
    if (platform == QLatin1String("xcb")) {
#ifdef PALLIX_HAVE_XCB
        available = X11HasCompositor();
#else
        available = false;  // cannot ask for a compositor: a black frame would be worse than none
#endif
    } else if (platform == QLatin1String("minimal") || platform == QLatin1String("linuxfb") ||
               platform == QLatin1String("vnc")) {
        available = false;
    }
    gAvailable = available ? 1 : 0;
}

bool CWndShadow::Available() {
    InitShadows();
    return gAvailable == 1;
}

void CWndShadow::SetAvailable(bool available) { gAvailable = available ? 1 : 0; }

QImage CWndShadow::BuildShadow(const QSize& window, const QRegion& shape, int darkness,
                               int sharpness, int size, int xOffset, int yOffset, QColor colour) {
    const int w = window.width(), h = window.height();
    if (w <= 0 || h <= 0) return {};
    QImage out(w + 2 * size, h + 2 * size, QImage::Format_ARGB32_Premultiplied);
    out.fill(0);
    const std::vector<Span> parentRows = RowSpans(window, shape);

    // Core: the parent's rows grown by `size` rows above and below, then shrunk.
    std::vector<Span> core(h + 2 * size);
    for (int y = 0; y < int(core.size()); ++y)
        core[y] = parentRows[std::clamp(y - size, 0, h - 1)];
    for (int step = 0; step < sharpness - size; ++step) {
        std::vector<Span> next(core.size());
        for (int y = 0; y < int(core.size()); ++y) {
            if (y == 0 || y + 1 == int(core.size()) || core[y].Empty() || core[y - 1].Empty() ||
                core[y + 1].Empty())
                continue;  // an end row or beside an empty row vanishes
            const int first = std::max({core[y - 1].first, core[y].first, core[y + 1].first}) + 1;
            const int last = std::min({core[y - 1].last, core[y].last, core[y + 1].last}) - 1;
            next[y] = Span{first, last};
        }
        core.swap(next);
    }

    // Kernel of radius r around each edge pixel of the core.
    const int r = std::max(sharpness, size);
    const int inner = std::max(size - sharpness, 0);
    std::vector<int> kernel((2 * r + 1) * (2 * r + 1), 0);
    for (int ky = -r; ky <= r; ++ky)
        for (int kx = -r; kx <= r; ++kx) {
            const double d = std::sqrt(double(kx * kx + ky * ky));
            int a = 0;
            if (d < inner) a = darkness;
            else if (d <= r) a = int((1.0 - (d - inner) / (sharpness + 1)) * darkness);
            kernel[(ky + r) * (2 * r + 1) + (kx + r)] = std::clamp(a, 0, 255);
        }
    const int cr = colour.red(), cg = colour.green(), cb = colour.blue();
    auto premultiplied = [&](int a) {
        return qRgba(cr * a / 255, cg * a / 255, cb * a / 255, a);
    };
    const int W = out.width(), H = out.height();
    // The core's row y lies at picture row y (it already carries the `size` rows above).
    auto stamp = [&](int cx, int cy) {
        for (int ky = -r; ky <= r; ++ky) {
            const int y = cy + ky;
            if (y < 0 || y >= H) continue;
            QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int kx = -r; kx <= r; ++kx) {
                const int x = cx + kx;
                if (x < 0 || x >= W) continue;
                const int a = kernel[(ky + r) * (2 * r + 1) + (kx + r)];
                if (a > qAlpha(row[x])) row[x] = premultiplied(a);
            }
        }
    };
    auto inside = [&](int y, int x) {
        return y >= 0 && y < int(core.size()) && !core[y].Empty() && x >= core[y].first && x <= core[y].last;
    };
    for (int y = 0; y < int(core.size()); ++y) {
        const Span s = core[y];
        if (s.Empty()) continue;
        for (int x = s.first; x <= s.last; ++x) {
            const bool edge = x == s.first || x == s.last || !inside(y - 1, x) || !inside(y + 1, x);
            // Columns are shifted by `size` into the picture like the rows.
            if (edge) stamp(x + size, y);
        }
    }
    const QRgb full = premultiplied(std::clamp(darkness, 0, 255));
    for (int y = 0; y < int(core.size()) && y < H; ++y) {
        const Span s = core[y];
        if (s.Empty()) continue;
        QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = s.first + 1 + size; x < s.last + size && x < W; ++x) row[x] = full;
    }
    // Nothing under the window itself.
    for (int y = 0; y < h; ++y) {
        const Span s = parentRows[y];
        const int py = y + size + yOffset;
        if (s.Empty() || py < 0 || py >= H) continue;
        QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(py));
        for (int x = std::max(0, s.first + size + xOffset); x <= std::min(W - 1, s.last + size + xOffset); ++x)
            row[x] = 0;
    }
    return out;
}

void CWndShadow::CreateShadow(QWidget* parent) {
    InitShadows();
    if (parent_) parent_->removeEventFilter(this);
    delete shadow_.data();
    parent_ = parent;
    darkness_ = kDarkness;
    sharpness_ = kSharpness;
    size_ = kSize;
    xOffset_ = yOffset_ = 0;
    enabled_ = shadowVisible_ = parentVisible_ = updateOnPaint_ = false;
    if (!parent_ || !Available()) return;
    shadow_ = new ShadowSurface(parent_);
    enabled_ = true;
    lastSize_ = parent_->size();
    if (parent_->isVisible()) {
        parentVisible_ = true;
        if (!(parent_->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))) {
            Rebuild();
            ShowShadow();
        }
    }
    parent_->installEventFilter(this);
}

void CWndShadow::Place() {
    if (!shadow_ || !parent_) return;
    const QPoint at = parent_->geometry().topLeft() + QPoint(xOffset_ - size_, yOffset_ - size_);
    shadow_->setGeometry(QRect(at, picture_.size()));
}

void CWndShadow::Rebuild() {
    if (!shadow_ || !parent_) return;
    picture_ = BuildShadow(parent_->size(), parent_->mask(), darkness_, sharpness_, size_, xOffset_,
                           yOffset_, colour_);
    static_cast<ShadowSurface*>(shadow_.data())->picture = picture_;
    Place();
    shadow_->update();
}

void CWndShadow::ShowShadow() {
    if (!shadow_) return;
    shadowVisible_ = true;
    shadow_->show();
    // Keep the window itself above its shadow.
    if (parent_) parent_->raise();
}

void CWndShadow::HideShadow() {
    shadowVisible_ = false;
    if (shadow_) shadow_->hide();
}

bool CWndShadow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != parent_ || !enabled_) return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Move:
        if (shadowVisible_) Place();
        break;
    case QEvent::Resize: {
        const QSize now = parent_->size();
        if (parentVisible_ && !(parent_->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))) {
            if (now.width() > lastSize_.width() || now.height() > lastSize_.height()) updateOnPaint_ = true;
            else Rebuild();
            if (!shadowVisible_) ShowShadow();
        }
        lastSize_ = now;
        break;
    }
    case QEvent::WindowStateChange:
        if (parent_->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)) {
            HideShadow();
        } else if (parentVisible_) {
            Rebuild();
            ShowShadow();
        }
        break;
    case QEvent::Paint:
        if (updateOnPaint_) {
            updateOnPaint_ = false;
            Rebuild();
        }
        break;
    case QEvent::Show:
        if (!shadowVisible_ && !(parent_->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))) {
            updateOnPaint_ = true;
            parentVisible_ = true;
            Rebuild();
            ShowShadow();
        }
        break;
    case QEvent::Hide:
        HideShadow();
        parentVisible_ = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace pallix
