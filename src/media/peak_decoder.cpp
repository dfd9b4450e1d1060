#include "media/peak_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

namespace lumetra {

namespace {

std::string ErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

struct FormatCloser {
  void operator()(AVFormatContext* format) const { avformat_close_input(&format); }
};
struct CodecCloser {
  void operator()(AVCodecContext* codec) const { avcodec_free_context(&codec); }
};
struct PacketFreer {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameFreer {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct ResamplerFreer {
  void operator()(SwrContext* swr) const { swr_free(&swr); }
};

// Buckets handed to the receiver at a time.
constexpr std::size_t kDeliveryBuckets = 256;

// Cuts mono samples into 10 ms buckets. Sample s belongs to bucket s * 100 / rate, so a
// rate that is not a multiple of 100 still puts every bucket at its exact time.
class BucketWriter {
 public:
  BucketWriter(PeakReceiver& receiver, int rate) : receiver_(receiver), rate_(rate) {
    out_.reserve(kDeliveryBuckets);
    bucket_end_ = BucketStart(1);
  }

  std::int64_t next_sample() const { return next_sample_; }

  void Samples(const float* samples, std::int64_t count) {
    while (count > 0) {
      const std::int64_t take = std::min(count, bucket_end_ - next_sample_);
      const auto [low, high] = std::minmax_element(samples, samples + take);
      low_ = std::min(low_, *low);
      high_ = std::max(high_, *high);
      samples += take;
      count -= take;
      Advance(take);
    }
  }

  void Silence(std::int64_t count) {
    while (count > 0) {
      const std::int64_t take = std::min(count, bucket_end_ - next_sample_);
      low_ = std::min(low_, 0.0f);
      high_ = std::max(high_, 0.0f);
      count -= take;
      Advance(take);
    }
  }

  // The last bucket, however short, and everything not yet delivered.
  void Finish() {
    if (next_sample_ > BucketStart(bucket_)) EmitBucket();
    Deliver();
  }

 private:
  std::int64_t BucketStart(std::int64_t bucket) const {
    return (bucket * rate_ + (1000 / kPeakBucketMs) - 1) / (1000 / kPeakBucketMs);
  }

  void Advance(std::int64_t samples) {
    next_sample_ += samples;
    if (next_sample_ == bucket_end_) EmitBucket();
  }

  void EmitBucket() {
    Peak peak;
    if (low_ <= high_) peak = {PeakValue(low_), PeakValue(high_)};
    out_.push_back(peak);
    if (out_.size() >= kDeliveryBuckets) Deliver();
    ++bucket_;
    bucket_end_ = BucketStart(bucket_ + 1);
    low_ = std::numeric_limits<float>::infinity();
    high_ = -std::numeric_limits<float>::infinity();
  }

  void Deliver() {
    if (!out_.empty()) receiver_.Received(out_.data(), out_.size());
    out_.clear();
  }

  PeakReceiver& receiver_;
  const std::int64_t rate_;
  std::int64_t next_sample_ = 0;
  std::int64_t bucket_ = 0;
  std::int64_t bucket_end_ = 0;
  float low_ = std::numeric_limits<float>::infinity();
  float high_ = -std::numeric_limits<float>::infinity();
  std::vector<Peak> out_;
};

// Mixes decoded frames of any layout and sample format down to mono floats at the
// stream's first rate. The mix keeps the level: a tone at half scale in every channel
// stays at half scale.
class MonoMixer {
 public:
  explicit MonoMixer(int rate) : rate_(rate) { av_channel_layout_default(&mono_, 1); }
  ~MonoMixer() {
    av_channel_layout_uninit(&mono_);
    av_channel_layout_uninit(&in_layout_);
  }
  MonoMixer(const MonoMixer&) = delete;
  MonoMixer& operator=(const MonoMixer&) = delete;

  // The frame's samples as mono floats; nullptr when the frame cannot be converted.
  const float* Mix(const AVFrame* frame, int* count) {
    if (!Configure(frame)) return nullptr;
    const int room = swr_get_out_samples(swr_.get(), frame->nb_samples);
    if (room < 0) return nullptr;
    if (buffer_.size() < static_cast<std::size_t>(room)) buffer_.resize(room);
    auto* out = reinterpret_cast<std::uint8_t*>(buffer_.data());
    const int converted =
        swr_convert(swr_.get(), &out, room, const_cast<const std::uint8_t**>(frame->extended_data),
                    frame->nb_samples);
    if (converted < 0) return nullptr;
    *count = converted;
    return buffer_.data();
  }

 private:
  bool Configure(const AVFrame* frame) {
    AVChannelLayout layout{};
    if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || frame->ch_layout.nb_channels == 0) {
      const int channels = std::max(frame->ch_layout.nb_channels, 1);
      av_channel_layout_default(&layout, channels);
    } else if (av_channel_layout_copy(&layout, &frame->ch_layout) < 0) {
      return false;
    }
    if (swr_ && frame->format == in_format_ && frame->sample_rate == in_rate_ &&
        av_channel_layout_compare(&layout, &in_layout_) == 0) {
      av_channel_layout_uninit(&layout);
      return true;
    }
    SwrContext* swr = nullptr;
    int error = swr_alloc_set_opts2(&swr, &mono_, AV_SAMPLE_FMT_FLT, rate_, &layout,
                                    static_cast<AVSampleFormat>(frame->format),
                                    frame->sample_rate, 0, nullptr);
    swr_.reset(swr);
    if (error >= 0) error = av_opt_set_double(swr, "rematrix_maxval", 1.0, 0);
    if (error >= 0) error = swr_init(swr);
    av_channel_layout_uninit(&in_layout_);
    in_layout_ = layout;
    in_format_ = frame->format;
    in_rate_ = frame->sample_rate;
    if (error < 0) {
      swr_.reset();
      return false;
    }
    return true;
  }

  const int rate_;
  AVChannelLayout mono_{};
  AVChannelLayout in_layout_{};
  int in_format_ = -1;
  int in_rate_ = 0;
  std::unique_ptr<SwrContext, ResamplerFreer> swr_;
  std::vector<float> buffer_;
};

}  // namespace

PeakDecodeResult DecodePeaks(const std::string& path, PeakReceiver& receiver) {
  PeakDecodeResult result;
  AVFormatContext* opened = nullptr;
  int error = avformat_open_input(&opened, path.c_str(), nullptr, nullptr);
  if (error < 0) return {PeakOutcome::kCannotOpen, ErrorText(error), 0};
  std::unique_ptr<AVFormatContext, FormatCloser> format(opened);
  error = avformat_find_stream_info(format.get(), nullptr);
  if (error < 0) return {PeakOutcome::kCannotOpen, ErrorText(error), 0};
  if (format->duration != AV_NOPTS_VALUE && format->duration > 0) {
    result.duration_ms = format->duration / (AV_TIME_BASE / 1000);
  }

  const AVCodec* codec = nullptr;
  const int index = av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
  if (index == AVERROR_STREAM_NOT_FOUND) {
    result.outcome = PeakOutcome::kNoAudio;
    return result;
  }
  if (index < 0 || codec == nullptr) {
    result.outcome = PeakOutcome::kUndecodable;
    result.detail = ErrorText(index < 0 ? index : AVERROR_DECODER_NOT_FOUND);
    return result;
  }
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    format->streams[i]->discard = static_cast<int>(i) == index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
  }
  AVStream* stream = format->streams[index];

  std::unique_ptr<AVCodecContext, CodecCloser> decoder(avcodec_alloc_context3(codec));
  if (!decoder) return {PeakOutcome::kUndecodable, ErrorText(AVERROR(ENOMEM)), result.duration_ms};
  error = avcodec_parameters_to_context(decoder.get(), stream->codecpar);
  if (error >= 0) {
    decoder->pkt_timebase = stream->time_base;
    error = avcodec_open2(decoder.get(), codec, nullptr);
  }
  if (error < 0) return {PeakOutcome::kUndecodable, ErrorText(error), result.duration_ms};
  const int rate = decoder->sample_rate;
  if (rate <= 0) {
    return {PeakOutcome::kUndecodable, ErrorText(AVERROR_INVALIDDATA), result.duration_ms};
  }

  receiver.Started(result.duration_ms);
  BucketWriter writer(receiver, rate);
  MonoMixer mixer(rate);
  // Where the film's time 0 lies in the stream's time base.
  const std::int64_t origin =
      format->start_time == AV_NOPTS_VALUE
          ? 0
          : av_rescale_q(format->start_time, AVRational{1, AV_TIME_BASE}, stream->time_base);
  // A hole in the timestamps longer than this is filled with silence.
  const std::int64_t hole = rate / 50;
  // Holes that reach past the film's end (plus a second) are taken for broken timestamps;
  // without a stated length, only holes of up to a minute are filled.
  const std::int64_t last_hole_end =
      result.duration_ms > 0 ? (result.duration_ms + 1000) * rate / 1000 : -1;

  std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
  std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
  if (!packet || !frame) {
    return {PeakOutcome::kUndecodable, ErrorText(AVERROR(ENOMEM)), result.duration_ms};
  }
  std::int64_t frames_decoded = 0;
  int last_error = 0;

  auto take_frame = [&] {
    int count = 0;
    const float* samples = mixer.Mix(frame.get(), &count);
    if (samples == nullptr) {
      last_error = AVERROR(EINVAL);
      return;
    }
    ++frames_decoded;
    const std::int64_t pts = frame->best_effort_timestamp;
    if (pts != AV_NOPTS_VALUE) {
      const std::int64_t at = av_rescale_q(pts - origin, stream->time_base, AVRational{1, rate});
      const std::int64_t next = writer.next_sample();
      if (at > next + hole) {
        const bool plausible = last_hole_end >= 0 ? at <= last_hole_end : at - next <= 60 * rate;
        if (plausible) writer.Silence(at - next);
      } else if (at < 0 && next == 0) {
        // Samples before the film's start (an encoder's lead-in) are not shown.
        const std::int64_t skip = std::min<std::int64_t>(-at, count);
        samples += skip;
        count -= static_cast<int>(skip);
      }
    }
    writer.Samples(samples, count);
  };
  auto drain = [&] {
    while (true) {
      const int received = avcodec_receive_frame(decoder.get(), frame.get());
      if (received < 0) {
        if (received != AVERROR(EAGAIN) && received != AVERROR_EOF) last_error = received;
        return;
      }
      take_frame();
      av_frame_unref(frame.get());
    }
  };

  bool cancelled = false;
  while (true) {
    if (receiver.Cancelled()) {
      cancelled = true;
      break;
    }
    // A read error ends the sound where it is, as the end of the file would.
    if (av_read_frame(format.get(), packet.get()) < 0) break;
    if (packet->stream_index == index) {
      int sent = avcodec_send_packet(decoder.get(), packet.get());
      if (sent == AVERROR(EAGAIN)) {
        drain();
        sent = avcodec_send_packet(decoder.get(), packet.get());
      }
      if (sent < 0) last_error = sent;
      drain();
    }
    av_packet_unref(packet.get());
  }
  if (cancelled) {
    result.outcome = PeakOutcome::kCancelled;
    return result;
  }
  avcodec_send_packet(decoder.get(), nullptr);
  drain();
  if (frames_decoded == 0) {
    result.outcome = last_error != 0 ? PeakOutcome::kUndecodable : PeakOutcome::kNoAudio;
    if (last_error != 0) result.detail = ErrorText(last_error);
    return result;
  }
  writer.Finish();
  result.outcome = PeakOutcome::kComplete;
  return result;
}

}  // namespace lumetra
