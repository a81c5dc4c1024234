#pragma once
// Shows one page of a document as a white sheet at a zoom in percent.
#include "platform/printing/PageModel.h"

#include <QWidget>
#include <memory>

namespace tarnis::print {

class PreviewWidget : public QWidget {
    Q_OBJECT
public:
    explicit PreviewWidget(QWidget *parent = nullptr);

    void setDocument(std::shared_ptr<const Document> doc);
    // 1-based page; 0 shows nothing.
    void setPage(int page);
    // Percent; drawn at no less than 10 so that a zoom of 0 still shows the sheet.
    void setZoom(int percent);
    int page() const { return page_; }
    int zoom() const { return zoom_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double scale() const;
    std::shared_ptr<const Document> doc_;
    int page_ = 0;
    int zoom_ = 50;
};

}  // namespace tarnis::print
