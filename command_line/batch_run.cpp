// The batch's stream: lines read with a bound, chunks of rows computed by a pool of threads, and
// a bounded window of chunks in flight written out in order.
#include "command_line/batch_run.h"

#include "calc_core/decimal_text.h"
#include "calc_core/value_text.h"
#include "command_line/batch_row.h"
#include "command_line/csv_text.h"
#include "command_line/flag_values.h"
#include "command_line/system_text.h"

#include <cerrno>
#include <condition_variable>
#include <deque>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace command_line {
namespace {

// A rail's row is a few dozen bytes; a longer line is cut here, so one cannot fill the memory.
constexpr std::size_t MaxLineBytes = 1 << 16;
// Rows a thread takes at a time, and chunks in flight per thread: enough to keep every thread
// busy while the oldest is written, few enough that the memory stays small.
constexpr std::size_t RowsPerChunk = 32;
constexpr std::size_t ChunksPerThread = 4;

struct Line {
    std::size_t number = 0;
    std::string text;
    bool tooLong = false;
};

// The next line without its LF or CR LF; false at the end.
bool ReadLine(std::streambuf& in, std::size_t& lineNumber, Line& line) {
    line.text.clear();
    line.tooLong = false;
    line.number = ++lineNumber;
    int c = in.sbumpc();
    if (c == std::char_traits<char>::eof()) {
        return false;
    }
    for (; c != std::char_traits<char>::eof() && c != '\n'; c = in.sbumpc()) {
        if (line.text.size() < MaxLineBytes) {
            line.text += char(c);
        } else {
            line.tooLong = true;
        }
    }
    if (!line.text.empty() && line.text.back() == '\r') {
        line.text.pop_back();
    }
    return true;
}

struct Chunk {
    std::vector<Line> lines;
    std::string output;
    bool failed = false;
    bool done = false;
};

class RowWork {
  public:
    RowWork(const RailColumns& columns, const BatchRequest& batch)
        : m_columns(columns), m_batch(batch) {}

    void operator()(Chunk& chunk) const {
        for (const Line& line : chunk.lines) {
            // A cut line keeps its place with its message, as a row whose cells cannot be read.
            const RailResult result =
                line.tooLong
                    ? RefusedRail("line " + std::to_string(line.number) + ": it is longer than " +
                                      std::to_string(MaxLineBytes) + " bytes",
                                  m_batch.json, m_batch.extras)
                    : AnalyseRail(m_columns, m_batch.settings, line.text, line.number, m_batch.json,
                                  m_batch.extras);
            chunk.output += result.line;
            chunk.failed = chunk.failed || result.failed;
        }
    }

  private:
    const RailColumns& m_columns;
    const BatchRequest& m_batch;
};

// Threads that take chunks in the order given and mark each done.
class ChunkPool {
  public:
    ChunkPool(unsigned threads, std::function<void(Chunk&)> work) : m_work(std::move(work)) {
        for (unsigned i = 0; i < threads; ++i) {
            m_threads.emplace_back([this] { Serve(); });
        }
    }
    ~ChunkPool() {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_ready.notify_all();
        for (std::thread& thread : m_threads) {
            thread.join();
        }
    }
    ChunkPool(const ChunkPool&) = delete;
    ChunkPool& operator=(const ChunkPool&) = delete;

    void Submit(std::shared_ptr<Chunk> chunk) {
        {
            const std::lock_guard lock(m_mutex);
            m_queue.push_back(std::move(chunk));
        }
        m_ready.notify_one();
    }

    void WaitFor(const Chunk& chunk) {
        std::unique_lock lock(m_mutex);
        m_done.wait(lock, [&chunk] { return chunk.done; });
    }

  private:
    void Serve() {
        while (true) {
            std::shared_ptr<Chunk> chunk;
            {
                std::unique_lock lock(m_mutex);
                m_ready.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
                if (m_queue.empty()) {
                    return;
                }
                chunk = std::move(m_queue.front());
                m_queue.pop_front();
            }
            m_work(*chunk);
            {
                const std::lock_guard lock(m_mutex);
                chunk->done = true;
            }
            m_done.notify_all();
        }
    }

    std::function<void(Chunk&)> m_work;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::condition_variable m_done;
    std::deque<std::shared_ptr<Chunk>> m_queue;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

// The next chunk of non-empty lines; empty at the end.
std::shared_ptr<Chunk> ReadChunk(std::streambuf& in, std::size_t& lineNumber) {
    auto chunk = std::make_shared<Chunk>();
    Line line;
    while (chunk->lines.size() < RowsPerChunk && ReadLine(in, lineNumber, line)) {
        if (!line.text.empty() || line.tooLong) {
            chunk->lines.push_back(std::move(line));
        }
    }
    return chunk;
}

// The rows after the header, in order; true when any has a message.
bool RunRows(const BatchRequest& batch, const RailColumns& columns, std::streambuf& in,
             std::size_t lineNumber, std::ostream& out) {
    const RowWork work(columns, batch);
    bool failed = false;
    const auto write = [&](Chunk& chunk) {
        out.write(chunk.output.data(), std::streamsize(chunk.output.size()));
        failed = failed || chunk.failed;
    };
    if (batch.threads <= 1) {
        for (auto chunk = ReadChunk(in, lineNumber); !chunk->lines.empty();
             chunk = ReadChunk(in, lineNumber)) {
            work(*chunk);
            write(*chunk);
        }
        return failed;
    }
    ChunkPool pool(batch.threads, std::cref(work));
    std::deque<std::shared_ptr<Chunk>> inFlight;
    const auto writeOldest = [&] {
        pool.WaitFor(*inFlight.front());
        write(*inFlight.front());
        inFlight.pop_front();
    };
    for (auto chunk = ReadChunk(in, lineNumber); !chunk->lines.empty();
         chunk = ReadChunk(in, lineNumber)) {
        pool.Submit(chunk);
        inFlight.push_back(std::move(chunk));
        if (inFlight.size() >= ChunksPerThread * batch.threads) {
            writeOldest();
        }
    }
    while (!inFlight.empty()) {
        writeOldest();
    }
    return failed;
}

} // namespace

int RunBatchStream(const BatchRequest& batch, std::istream& in, std::string_view shownName,
                   std::ostream& out, std::ostream& err) {
    std::streambuf& buffer = *in.rdbuf();
    std::size_t lineNumber = 0;
    Line header;
    if (!ReadLine(buffer, lineNumber, header)) {
        err << "orvalex-kep: " << shownName << " has no header line\n";
        return 2;
    }
    // Spreadsheets often begin a UTF-8 file with a byte order mark.
    if (header.text.starts_with("\xEF\xBB\xBF")) {
        header.text.erase(0, 3);
    }
    const CsvRecord record = SplitCsvLine(header.text);
    const HeaderRead read = record.problem.empty() ? ReadHeader(record.cells)
                                                   : HeaderRead{std::nullopt, record.problem};
    if (!read.columns) {
        err << "orvalex-kep: " << shownName << ", line 1: " << read.problem << '\n';
        return 2;
    }
    if (!batch.json) {
        out << ResultHeaderLine(batch.extras);
    }
    const bool failed = RunRows(batch, *read.columns, buffer, lineNumber, out);
    out.flush();
    return failed ? 1 : 0;
}

int RunBatch(const BatchRequest& batch, std::ostream& out, std::ostream& err) {
    const std::string shown = calc_core::Printable(batch.path, 200);
    if (batch.path == "-") {
        return RunBatchStream(batch, std::cin, "stdin", out, err);
    }
    std::ifstream file(PathOfArgument(batch.path), std::ios::binary);
    if (!file) {
        err << "orvalex-kep: " << shown << " cannot be read ("
            << std::generic_category().message(errno) << ")\n";
        return 2;
    }
    return RunBatchStream(batch, file, shown, out, err);
}

} // namespace command_line
