#pragma once

#include <QImage>
#include <QWidget>

#include "output/sound/SoundView.hpp"

namespace ostrovik::output::sound {

/// The sound view: each played buffer as 29 bars of click counts.
class SoundViewForm : public QWidget, public SoundView {
    Q_OBJECT
public:
    /// A tool window of @p mainWindow, centred on it when first shown.
    explicit SoundViewForm(QWidget* mainWindow = nullptr);

    bool isShown() const override { return isVisible(); }
    void drawBuffer(std::span<const std::uint8_t> data) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    /// What drawBuffer last drew; Qt paints only from paint events.
    QImage surface_;
    bool placed_ = false;
};

} // namespace ostrovik::output::sound
