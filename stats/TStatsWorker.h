#pragma once
// TStatsWorker: computes the statistics window's results off the interface
// thread, so that the window answers while a million records are counted.
//
// Start() runs one job on a thread of its own: the results of the request
// (taken again from the last ones when only the order, the measure or the
// classes changed), their order, and the chart. A job started while another
// runs stops the other (at its next slice of records) and its output is
// dropped: only the output of the last job started is handed, on the
// interface thread, to the function given to the constructor.
//
// The table is only read, from the jobs' threads; the caller must not write
// it while the worker lives (the window is modal). The destructor stops the
// jobs and waits for them.

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "TStatistics.h"
#include "TStatsChart.h"

class TQor2;

struct TStatsJob {
  TStatsRequest request;
  TStatsColumn column = TStatsColumn::Group;  // the order of the results
  bool ascending = true;
  TStatsMeasure measure = TStatsMeasure::Count;
  bool histogram = false;  // a histogram of the numbers, in `bins` classes
  int bins = 0;            // 0: by Sturges' rule
};

struct TStatsOutput {
  TStatus status;
  std::shared_ptr<const TStatsResult> result;
  std::shared_ptr<const std::vector<uint32_t>> order;
  TStatsChart chart;
  int bins = 0;  // the classes of a histogram
};

class TStatsWorker : public QObject {
 public:
  using TDone = std::function<void(const TStatsOutput& output)>;

  TStatsWorker(const TQor2& table, TDone done);
  ~TStatsWorker() override;

  void Start(const TStatsJob& job);
  // A job runs whose output has not been handed yet.
  bool Busy() const { return current_ != nullptr; }
  // Of the running job, 0 to 100.
  int Percent() const;

 private:
  struct TRun {
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false};
    std::atomic<int> percent{0};
    TStatsRequest request;
    std::thread thread;
  };
  static TStatsOutput Work(const TQor2& table, const TStatsJob& job,
                           std::shared_ptr<const TStatsResult> last, TRun& run);
  void Deliver(const std::shared_ptr<TRun>& run, const TStatsOutput& output);
  void JoinFinished();

  const TQor2& table_;
  TDone done_;
  std::shared_ptr<const TStatsResult> last_;  // the results last handed
  TStatsRequest lastRequest_;
  std::shared_ptr<TRun> current_;
  std::vector<std::shared_ptr<TRun>> runs_;  // running or not yet joined
};
