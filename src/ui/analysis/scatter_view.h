// A scatter plot of one channel over another, each point coloured by a third channel: the
// colour channel's range is cut into bands, one series of one colour each, named by its range
// in the legend. Long logs are thinned evenly before they get here (ComputeScatter).
#pragma once

#include <QString>
#include <QWidget>
#include <cstddef>
#include <vector>

#include "log/ride_analysis.h"

class QChart;
class QChartView;
class QScatterSeries;
class QValueAxis;

namespace korvan {

class ScatterView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kColourBands = 6;

    explicit ScatterView(QWidget* parent = nullptr);

    void Show(const ScatterData& data, const QString& xName, const QString& yName,
              const QString& colourName);

    // For the tests: the points each band holds, and the chart.
    std::size_t PointCount() const;
    const std::vector<QScatterSeries*>& Bands() const { return bands_; }
    QChart* Chart() const { return chart_; }
    QValueAxis* XAxis() const { return x_; }
    QValueAxis* YAxis() const { return y_; }

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void ApplyTheme();

    QChart* chart_;
    QChartView* view_;
    QValueAxis* x_;
    QValueAxis* y_;
    std::vector<QScatterSeries*> bands_;
};

}  // namespace korvan
