#pragma once

#include <QFrame>

class ChartPanel;
class QLabel;
class QPushButton;
class QVBoxLayout;

// One tile of the dashboard: a caption that opens the screen holding the detail, one number in large type,
// a few lines that say what the number is against, and a chart (which opens the detail too when clicked).
class DashboardTile final : public QFrame
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DashboardTile)

public:
    // name is the tile's object name; the caption's button is name + "Open", the number name + "Number".
    DashboardTile(const QString& name, const QString& caption, QWidget* parent = nullptr);

    void setNumber(const QString& number, const QString& what);
    void setNote(const QString& richText);
    // The tile's chart, made on first use.
    ChartPanel* chart();
    // Room for the tile's own controls under the note.
    QVBoxLayout* body() const { return m_body; }
    QPushButton* openButton() const { return m_open; }
    QString numberText() const;

signals:
    void opened();

private:
    QPushButton* m_open;
    QLabel* m_number;
    QLabel* m_what;
    QLabel* m_note;
    QVBoxLayout* m_body;
    ChartPanel* m_chart = nullptr;
};
