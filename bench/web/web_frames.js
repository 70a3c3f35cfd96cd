// Run before the frame-time program: measures every frame's work (everything but the 16 ms
// pause, drawing included) and the intervals between frames; reportFrames logs a summary.
Module.frames = {work: [], intervals: [], other: 0, last: 0};
Module.onPause = (milliseconds, work) => {
  const frames = Module.frames, now = performance.now();
  if (milliseconds !== 16) return ++frames.other;
  frames.work.push(work);
  if (frames.last) frames.intervals.push(now - frames.last);
  frames.last = now;
};
Module.reportFrames = () => {
  const summary = (values) => {
    const sorted = values.slice().sort((a, b) => a - b);
    const at = (share) => sorted[Math.min(sorted.length - 1, Math.floor(share * sorted.length))];
    const mean = values.reduce((a, b) => a + b, 0) / values.length;
    return `mean ${mean.toFixed(3)} median ${at(0.5).toFixed(3)} p90 ${at(0.9).toFixed(3)} ` +
           `p99 ${at(0.99).toFixed(3)} max ${sorted[sorted.length - 1].toFixed(3)} ms`;
  };
  const frames = Module.frames;
  console.log(`frames ${frames.work.length}, other pauses ${frames.other}`);
  console.log(`work per frame: ${summary(frames.work)}`);
  console.log(`frame interval: ${summary(frames.intervals)}`);
};
