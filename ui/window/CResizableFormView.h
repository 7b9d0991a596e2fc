#pragma once

#include "AnchorLayout.h"

#include <QScrollArea>

#include <map>
#include <vector>

// A form designed at one fixed size whose controls follow the window by
// anchors: each edge of an anchored control keeps its distance from a
// relative position of the form. A window smaller than the design size does
// not squeeze the controls; the form keeps its design size and scrolls.
//
// The controls are children of the form page inside the scroll area and are
// placed in form coordinates; scrolling moves the page, so the scroll
// position never enters the layout.
class CResizableFormView : public QScrollArea {
    Q_OBJECT

public:
    explicit CResizableFormView(QWidget* parent = nullptr);

    // Registers the anchors of a control. A second registration of the same
    // control replaces the first; an id that the form does not have is
    // ignored.
    void AddAnchor(int controlId, AnchorPoint topLeft, AnchorPoint bottomRight);
    // Turns every registered anchor into a layout item and lays the controls
    // out for the current window size.
    void ArrangeLayout();

    QSize ReferenceSize() const { return referenceSize_; }
    QWidget* Form() const { return form_; }
    // The control with the id; nullptr when the form has none.
    QWidget* Control(int controlId) const;

protected:
    // The design size of the form, in pixels: its scrollable size.
    void SetReferenceSize(QSize size);
    // Places a control on the form at its design rectangle (pixels). Controls
    // with an id (not -1) can be anchored and found with Control().
    void PlaceControl(int controlId, QWidget* control, const QRect& designRect);

    // The first display: runs the form's own first-display step and from
    // then on lets resizing move the controls. Until then the form keeps its
    // design size.
    void InitialLayout();
    virtual void OnFormInitialUpdate() = 0;

    void resizeEvent(QResizeEvent* event) override;

private:
    struct PlacedControl {
        QWidget* Window = nullptr;
        QRect DesignRect;
    };
    struct RegisteredAnchor {
        int ControlId = -1;
        QRect Rect;
        AnchorPoint TopLeft;
        AnchorPoint BottomRight;
        QWidget* Window = nullptr;
    };
    struct LayoutItem {
        QWidget* Window = nullptr;
        AnchorMargins Margins;
    };

    void ResizeLayout(QSize clientSize);

    QWidget* form_;
    QSize referenceSize_;
    bool layoutReady_ = false;
    std::map<int, PlacedControl> controls_;
    std::vector<RegisteredAnchor> anchors_;
    std::vector<LayoutItem> items_;
};
