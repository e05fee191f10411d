#include "render_command.h"

#include <array>
#include <cstdio>
#include <thread>

#include "command_line.h"
#include "contact_sheet.h"
#include "host_presentation.h"
#include "parallel/worker_count.h"
#include "picture_limits.h"
#include "png_file.h"
#include "present/filter_table.h"
#include "scale/color_magnitude.h"

namespace qzprx {
namespace {

struct RenderRequest {
  std::vector<int32_t> filters;
  int32_t window_width = 0;
  int32_t window_height = 0;
  int32_t threads = 0;
  std::vector<std::array<int32_t, 4>> rectangles;
  std::string frame_path;
  std::string out_path;
};

constexpr const char* kUsage =
    "usage: qzprx render --filter N|all --window WxH [--threads K] [--rect L,T,R,B]... "
    "FRAME.png OUT.png";

int Fail(const std::string& message) {
  std::fprintf(stderr, "qzprx render: %s\n%s\n", message.c_str(), kUsage);
  return 2;
}

// A problem with the files rather than the command line: one line.
int Refuse(const std::string& message) {
  std::fprintf(stderr, "qzprx render: %s\n", message.c_str());
  return 2;
}

// Empty when the arguments are fine, else what is wrong.
std::string Parse(const std::vector<std::string>& arguments, RenderRequest& request) {
  std::vector<std::string> files;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool has_value = i + 1 < arguments.size();
    if (argument == "--filter" && has_value) {
      const std::string& value = arguments[++i];
      int32_t filter = 0;
      if (value == "all") {
        for (int32_t f = 0; f < qz::present::kFilterCount; ++f) request.filters.push_back(f);
      } else if (ParseNumber(value, 0, qz::present::kFilterCount - 1, filter)) {
        request.filters.push_back(filter);
      } else {
        return "unknown filter '" + value + "' (0 to 12, or all)";
      }
    } else if (argument == "--window" && has_value) {
      if (!ParseSize(arguments[++i], request.window_width, request.window_height)) {
        return "bad window size '" + arguments[i] + "' (WxH, 1 to 16384 each)";
      }
    } else if (argument == "--threads" && has_value) {
      if (!ParseNumber(arguments[++i], 1, qz::parallel::kMaxBands, request.threads)) {
        return "bad thread count '" + arguments[i] + "' (1 to 8)";
      }
    } else if (argument == "--rect" && has_value) {
      int32_t values[4];
      if (!ParseFour(arguments[++i], values)) return "bad rectangle '" + arguments[i] + "'";
      request.rectangles.push_back({values[0], values[1], values[2], values[3]});
    } else if (argument.rfind("--", 0) == 0) {
      return "unknown or incomplete option '" + argument + "'";
    } else {
      files.push_back(argument);
    }
  }
  if (request.filters.empty()) return "no filter given";
  if (request.window_width == 0) return "no window size given";
  if (files.size() != 2) return "expected FRAME.png and OUT.png";
  request.frame_path = files[0];
  request.out_path = files[1];
  return {};
}

int32_t DefaultThreads() {
  return qz::parallel::MaxWorkersForProcessors(std::thread::hardware_concurrency());
}

}  // namespace

int RunRender(const std::vector<std::string>& arguments) {
  RenderRequest request;
  const std::string problem = Parse(arguments, request);
  if (!problem.empty()) return Fail(problem);
  std::string error;
  int32_t frame_width = 0;
  int32_t frame_height = 0;
  if (!ReadPictureSize(request.frame_path, frame_width, frame_height, error)) return Refuse(error);
  // Everything is sized from the header and the window before anything is allocated.
  const std::string too_large = PresentationSizeProblem(
      frame_width, frame_height, request.window_width, request.window_height);
  if (!too_large.empty()) return Refuse(request.frame_path + ": " + too_large);
  Picture frame;
  if (!ReadPicture(request.frame_path, frame, error)) return Refuse(error);
  if (request.rectangles.empty()) {
    request.rectangles.push_back({0, 0, frame.width - 1, frame.height - 1});
  }
  qz::parallel::WorkerCount = request.threads > 0 ? request.threads : DefaultThreads();
  if (!qz::scale::BuildColorMagnitudeTable()) {
    std::fprintf(stderr, "qzprx render: no memory for the colour table; 2x filters fall back\n");
  }
  const bool several = request.filters.size() > 1;
  std::vector<SheetEntry> sheet;
  for (int32_t filter : request.filters) {
    HostPresentation presentation(frame, request.window_width, request.window_height);
    if (presentation.Geometry().dstW < 1 || presentation.Geometry().dstH < 1) {
      return Fail("the window is too small for a picture of this frame");
    }
    for (const auto& rectangle : request.rectangles) {
      presentation.Present(filter, rectangle[0], rectangle[1], rectangle[2], rectangle[3]);
    }
    const Picture picture = presentation.Result();
    char number[4];
    std::snprintf(number, sizeof number, "%02d", filter);
    const std::string path = several ? WithSuffix(request.out_path, number) : request.out_path;
    if (!WritePicture(path, picture, error)) return Refuse(error);
    std::printf("%s: filter %d \"%s\", %d x %d\n", path.c_str(), filter,
                qz::present::Filter(filter).name, picture.width, picture.height);
    sheet.push_back({std::to_string(filter) + " " + qz::present::Filter(filter).name, picture});
  }
  if (several) {
    const std::string path = WithSuffix(request.out_path, "sheet");
    if (!WritePng(path, ContactSheet(sheet, 400, 300), error)) return Refuse(error);
    std::printf("%s: contact sheet\n", path.c_str());
  }
  return 0;
}

}  // namespace qzprx
