#include "CResizableFormView.h"

#include <QResizeEvent>

#include <algorithm>

CResizableFormView::CResizableFormView(QWidget* parent) : QScrollArea(parent), form_(new QWidget)
{
    setWidgetResizable(false);
    setWidget(form_);
}

void CResizableFormView::SetReferenceSize(QSize size)
{
    referenceSize_ = size;
    form_->resize(size);
}

void CResizableFormView::PlaceControl(int controlId, QWidget* control, const QRect& designRect)
{
    control->setParent(form_);
    control->setGeometry(designRect);
    if (controlId != -1) {
        controls_[controlId] = PlacedControl{control, designRect};
    }
}

QWidget* CResizableFormView::Control(int controlId) const
{
    const auto found = controls_.find(controlId);
    return found == controls_.end() ? nullptr : found->second.Window;
}

void CResizableFormView::AddAnchor(int controlId, AnchorPoint topLeft, AnchorPoint bottomRight)
{
    const auto found = controls_.find(controlId);
    if (found == controls_.end()) {
        return;
    }
    // Margins are taken from the design rectangle, not from where an earlier
    // layout has put the control, so that registering again after the
    // window was resized gives the same layout.
    const RegisteredAnchor anchor{controlId, found->second.DesignRect, topLeft, bottomRight, found->second.Window};
    const auto earlier = std::find_if(anchors_.begin(), anchors_.end(),
                                      [controlId](const RegisteredAnchor& a) { return a.ControlId == controlId; });
    if (earlier != anchors_.end()) {
        *earlier = anchor;
    } else {
        anchors_.push_back(anchor);
    }
}

void CResizableFormView::InitialLayout()
{
    OnFormInitialUpdate();
    layoutReady_ = true;
    ResizeLayout(viewport()->size());
}

void CResizableFormView::ArrangeLayout()
{
    items_.clear();
    items_.reserve(anchors_.size());
    for (const RegisteredAnchor& anchor : anchors_) {
        items_.push_back({anchor.Window, MarginsFor(anchor.Rect, anchor.TopLeft, anchor.BottomRight, referenceSize_)});
    }
    ResizeLayout(viewport()->size());
}

void CResizableFormView::resizeEvent(QResizeEvent* event)
{
    ResizeLayout(viewport()->size());
    QScrollArea::resizeEvent(event);
}

void CResizableFormView::ResizeLayout(QSize clientSize)
{
    if (!layoutReady_) {
        return;
    }
    const QSize formSize = EffectiveFormSize(clientSize, referenceSize_);
    if (form_->size() != formSize) {
        form_->resize(formSize);
    }
    for (const LayoutItem& item : items_) {
        const QRect rect = AnchoredRect(item.Margins, formSize);
        if (rect != item.Window->geometry()) {
            item.Window->setGeometry(rect);
        }
    }
}
