#pragma once

#include <QImage>
#include <QWidget>

#include "tools/GlyphEditor.hpp"

class QLabel;
class QPushButton;

namespace ostrovik::kit {
class WindowHost;
}

namespace ostrovik::tools {

/// The character-generator editor: the machine's 256 glyphs as a grid drawn
/// from its memory, one glyph's dots to edit and write back, and the whole
/// set saved to or loaded from a font file, all while the machine runs.
class FontEditorForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 511;
    static constexpr int kClientHeight = 388;
    static constexpr int kCodeCell = 18;
    static constexpr int kBitCell = 15;
    static constexpr int kBitLine = 2;

    explicit FontEditorForm(kit::WindowHost& host);

    /// Mouse presses on the two grids, at @p pos inside the grid.
    void pickGlyph(QPoint pos);
    void toggleDot(QPoint pos);
    void openFont();
    void saveFontAs();
    void exitEditor();
    void changeGlyph();

    const GlyphEditor& editor() const { return editor_; }
    /// The 8 × 8 preview of the chosen glyph.
    const QImage& preview() const { return preview_; }

    static const QString& fontDialogFilter();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeControls();
    /// Glyph @p code as the code grid shows it: ink black on white.
    QImage drawGlyph(int column, int row) const;
    /// Paints dot row @p row of an 8 × 8 picture from @p value, bit 7 at the left.
    static void drawGlyphRow(QImage& cell, std::uint8_t value, int row);
    void showGlyphRow(std::uint8_t value, int row);
    MachineRam& ram();
    QString fontsFolder() const;

    kit::WindowHost& host_;
    GlyphEditor editor_;
    QImage preview_;
    QWidget* codeGrid_ = nullptr;
    QWidget* dotGrid_ = nullptr;
    QWidget* previewView_ = nullptr;
    QLabel* codeLabel_ = nullptr;
    QLabel* addressLabel_ = nullptr;
    QPushButton* loadButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    QPushButton* changeButton_ = nullptr;

    friend class CodeGrid;
    friend class BitGrid;
    friend class PreviewImage;
};

} // namespace ostrovik::tools
