// Decodes a film's sound with FFmpeg's libraries and turns it into peaks as it goes: one
// packet at a time, mixed down to one channel, never the whole sound in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "media/audio_peaks.h"

namespace lumetra {

// How a decoding ended.
enum class PeakOutcome {
  kComplete,     // every bucket of the sound was delivered
  kCancelled,    // the receiver asked to stop
  kCannotOpen,   // the file is missing, unreadable or no film FFmpeg knows
  kNoAudio,      // the film has no sound stream
  kUndecodable,  // the sound stream could not be decoded
};

// Receives what the decoder finds, on the decoder's thread.
class PeakReceiver {
 public:
  virtual ~PeakReceiver() = default;
  // Once, before the first buckets: the length of the sound in milliseconds as the film
  // states it (0 when it does not say).
  virtual void Started(std::int64_t duration_ms) { (void)duration_ms; }
  // The next buckets of the base level, in time order.
  virtual void Received(const Peak* peaks, std::size_t count) = 0;
  // Asked between packets; true stops the decoding.
  virtual bool Cancelled() { return false; }
};

struct PeakDecodeResult {
  PeakOutcome outcome = PeakOutcome::kComplete;
  // FFmpeg's reason where it gave one ("Invalid data found when processing input").
  std::string detail;
  // The length the film states, in milliseconds (0: unknown).
  std::int64_t duration_ms = 0;
};

// Decodes the first sound stream of the film at `path` (the one FFmpeg thinks best) and
// hands its peaks to `receiver`. Time 0 is the start of the film; a sound stream that
// starts later, or has holes, gets silent buckets there. Packets that do not decode are
// skipped; only a stream of which nothing decodes is kUndecodable.
PeakDecodeResult DecodePeaks(const std::string& path, PeakReceiver& receiver);

}  // namespace lumetra
