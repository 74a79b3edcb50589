// The instruments and drums the pack's music and effects are played on.
#include "synth.h"

namespace pack::synth {

namespace {

samples saw_bass(double hz, double gate, double velocity) {
    const envelope env{0.004, 0.25, 0.6, 0.06};
    samples out(frames_of(env.length(gate)));
    phasor osc;
    filter lowpass;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / rate;
        const double phase = osc.step(hz);
        const double raw = 0.7 * saw_at(phase, hz) + 0.5 * sine_at(phase);
        // The filter opens with each note and closes again: a soft "pluck" of the string.
        lowpass.run(raw, 180.0 + 1500.0 * velocity * std::exp(-t / 0.08), 1.2);
        out[i] = float(lowpass.low * env.at(t, gate) * velocity);
    }
    return out;
}

samples round_bass(double hz, double gate, double velocity) {
    const envelope env{0.01, 0.4, 0.7, 0.15};
    samples out(frames_of(env.length(gate)));
    phasor osc;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / rate;
        const double phase = osc.step(hz);
        const double raw = sine_at(phase) + 0.3 * triangle_at(phase);
        out[i] = float(std::tanh(1.5 * raw) * env.at(t, gate) * velocity);
    }
    return out;
}

// Two-operator FM: a modulator at `ratio` times the pitch whose depth dies away.
samples fm_tone(double hz, double gate, double velocity, const envelope& env, double ratio,
                double depth, double depth_decay, double depth_floor) {
    samples out(frames_of(env.length(gate)));
    phasor carrier, modulator;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / rate;
        const double index = depth * std::exp(-t / depth_decay) + depth_floor;
        const double mod = index * sine_at(modulator.step(hz * ratio));
        const double phase = carrier.step(hz);
        out[i] = float(std::sin(2.0 * pi * phase + mod) * env.at(t, gate) * velocity);
    }
    return out;
}

samples pad(double hz, double gate, double velocity) {
    const envelope env{0.35, 1.0, 0.85, 0.5};
    samples out(frames_of(env.length(gate)));
    phasor voices[3];
    double pitch[3];
    const double detune[3] = {-0.08, 0.0, 0.09};   // semitones
    for (int v = 0; v < 3; ++v) pitch[v] = hz * std::pow(2.0, detune[v] / 12.0);
    filter lowpass;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / rate;
        double raw = 0.0;
        for (int v = 0; v < 3; ++v) raw += saw_at(voices[v].step(pitch[v]), pitch[v]);
        lowpass.run(raw / 3.0, 900.0 + 900.0 * (1.0 - std::exp(-t / 0.4)), 0.7);
        out[i] = float(lowpass.low * env.at(t, gate) * velocity);
    }
    return out;
}

// A plucked string as a sum of harmonics, the higher ones dying faster.
samples pluck(double hz, double gate, double velocity) {
    const double length = std::min(gate + 0.6, 1.6);
    samples out(frames_of(length));
    const int harmonics = std::max(1, std::min(14, int(rate * 0.45 / hz)));
    // Each harmonic turns as a rotating pair (cos, sin) that also shrinks a
    // little every sample: no sine or exponential per sample.
    double re[14], im[14], turn_re[14], turn_im[14];
    for (int k = 0; k < harmonics; ++k) {
        const double angle = 2.0 * pi * hz * (k + 1) / rate;
        const double shrink = std::exp(-(2.0 + 0.9 * std::pow(k + 1, 1.4)) / rate);
        re[k] = 1.0 / (k + 1);   // angle 0: the sine starts from silence
        im[k] = 0.0;
        turn_re[k] = std::cos(angle) * shrink;
        turn_im[k] = std::sin(angle) * shrink;
    }
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / rate;
        double value = 0.0;
        for (int k = 0; k < harmonics; ++k) {
            const double r = re[k] * turn_re[k] - im[k] * turn_im[k];
            im[k] = re[k] * turn_im[k] + im[k] * turn_re[k];
            re[k] = r;
            value += im[k];
        }
        const double attack = std::min(1.0, t / 0.002);
        const double tail = t > length - 0.05 ? (length - t) / 0.05 : 1.0;
        out[i] = float(value * 0.8 * attack * std::max(0.0, tail) * velocity);
    }
    return out;
}

samples pulse_lead(double hz, double gate, double velocity) {
    const envelope env{0.012, 0.2, 0.75, 0.09};
    samples out(frames_of(env.length(gate)));
    phasor osc, wobble;
    filter lowpass;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / rate;
        // Vibrato creeps in on held notes only.
        const double depth = 0.22 * std::clamp((t - 0.18) / 0.25, 0.0, 1.0);
        const double f = hz * std::pow(2.0, depth * sine_at(wobble.step(5.2)) / 12.0);
        lowpass.run(pulse_at(osc.step(f), f, 0.35), 2600.0, 0.9);
        out[i] = float(lowpass.low * env.at(t, gate) * velocity);
    }
    return out;
}

samples brass(double hz, double gate, double velocity) {
    const envelope env{0.03, 0.3, 0.8, 0.12};
    samples out(frames_of(env.length(gate)));
    phasor osc, wobble;
    filter lowpass;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / rate;
        const double depth = 0.15 * std::clamp((t - 0.25) / 0.3, 0.0, 1.0);
        const double f = hz * std::pow(2.0, depth * sine_at(wobble.step(5.0)) / 12.0);
        const double swell = (1.0 - std::exp(-t / 0.04)) * (0.55 + 0.45 * std::exp(-t / 0.35));
        lowpass.run(saw_at(osc.step(f), f), 350.0 + 3000.0 * swell * velocity, 1.0);
        out[i] = float(lowpass.low * env.at(t, gate) * velocity);
    }
    return out;
}

}  // namespace

samples play_note(instrument kind, double midi, double seconds, double velocity) {
    const double hz = note_hz(midi);
    switch (kind) {
    case instrument::saw_bass: return saw_bass(hz, seconds, velocity);
    case instrument::round_bass: return round_bass(hz, seconds, velocity);
    case instrument::electric_piano:
        return fm_tone(hz, seconds, velocity, envelope{0.003, 0.7, 0.25, 0.12}, 1.0, 1.8, 0.25,
                       0.25);
    case instrument::pad: return pad(hz, seconds, velocity);
    case instrument::pluck: return pluck(hz, seconds, velocity);
    case instrument::bell:
        return fm_tone(hz, seconds, velocity, envelope{0.002, 0.9, 0.0, 0.3}, 2.0, 1.8, 0.15, 0.3);
    case instrument::pulse_lead: return pulse_lead(hz, seconds, velocity);
    case instrument::brass: return brass(hz, seconds, velocity);
    }
    return {};
}

samples kick(double velocity) {
    samples out(frames_of(0.45));
    phasor osc;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / rate;
        const double pitch = 48.0 + 110.0 * std::exp(-t / 0.035);
        const double body = sine_at(osc.step(pitch)) * std::exp(-t / 0.16);
        const double click = 0.3 * std::sin(2.0 * pi * 3000.0 * t) * std::exp(-t / 0.002);
        out[i] = float(std::tanh(1.6 * (body + click)) * velocity);
    }
    return out;
}

samples snare(double velocity, uint32_t seed) {
    samples out(frames_of(0.25));
    noise hiss(seed);
    filter band;
    phasor osc;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / rate;
        band.run(hiss.next(), 1500.0, 0.8);
        const double tone = 0.5 * sine_at(osc.step(185.0)) * std::exp(-t / 0.04);
        out[i] = float((band.high * std::exp(-t / 0.07) + tone) * velocity);
    }
    return out;
}

samples hat(double velocity, bool open, uint32_t seed) {
    samples out(frames_of(open ? 0.4 : 0.1));
    noise hiss(seed);
    filter high;
    const double decay = open ? 0.12 : 0.025;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / rate;
        high.run(hiss.next(), 7000.0, 0.7);
        out[i] = float(high.high * std::exp(-t / decay) * velocity);
    }
    return out;
}

}  // namespace pack::synth
