// The page's side of the web backend (web.h): the canvas, full screen, frames, message boxes
// and Web Audio. The page itself (page.js) supplies Module.page.
mergeInto(LibraryManager.library, {
  web_canvas_size: function(width, height) {
    Module.canvas.width = width;
    Module.canvas.height = height;
  },

  web_wait_fullscreen: function() {
    return Asyncify.handleSleep(function(wakeUp) {
      Module.page.fullscreen().then(function(granted) { wakeUp(granted ? 1 : 0); });
    });
  },

  web_leave_fullscreen: function() {
    if (document.fullscreenElement) document.exitFullscreen().catch(function() {});
  },

  // The browser shows the frame once the program gives way; it runs the page's events and
  // asks for the next frame at the display's rate (every 16 ms where the page is hidden).
  web_wait_frame: function() {
    return Asyncify.handleSleep(function(wakeUp) {
      Module.page.frame();
      if (document.hidden) setTimeout(wakeUp, 16);
      else requestAnimationFrame(function() { wakeUp(); });
    });
  },

  web_show_box: function(caption, text, yesNo, answered) {
    Module.page.box(UTF8ToString(caption), UTF8ToString(text), yesNo !== 0, answered !== 0);
  },

  web_wait_answer: function() {
    return Asyncify.handleSleep(function(wakeUp) { Module.page.ask(wakeUp); });
  },

  web_cursor: function(show) { Module.canvas.style.cursor = show ? 'auto' : 'none'; },

  $WebAudio: {context: null, buffer: null, source: null, start: 0},

  web_audio_open__deps: ['$WebAudio'],
  web_audio_open: function(rate) {
    var Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return 0;
    try {
      WebAudio.context = new Context({sampleRate: rate});
    } catch (e) {
      return 0;
    }
    Module.page.audio(WebAudio.context);
    return 1;
  },

  web_audio_run__deps: ['$WebAudio'],
  web_audio_run: function(run) {
    var context = WebAudio.context;
    (run ? context.resume() : context.suspend()).catch(function() {});
  },

  web_audio_decode__deps: ['$WebAudio'],
  web_audio_decode: function(data, length) {
    var bytes = HEAPU8.slice(data, data + length);
    return Asyncify.handleSleep(function(wakeUp) {
      Module.page.stage('decoding');
      WebAudio.context.decodeAudioData(bytes.buffer).then(function(buffer) {
        WebAudio.buffer = buffer;
        Module.page.stage('decoded');
        wakeUp(buffer.length);
      }, function() {
        Module.page.stage('decoded');
        wakeUp(-1);
      });
    });
  },

  web_audio_channels__deps: ['$WebAudio'],
  web_audio_channels: function() { return WebAudio.buffer ? WebAudio.buffer.numberOfChannels : 1; },

  web_audio_free__deps: ['$WebAudio'],
  web_audio_free: function() {
    if (WebAudio.source) {
      WebAudio.source.stop();
      WebAudio.source.disconnect();
    }
    WebAudio.source = null;
    WebAudio.buffer = null;
  },

  // The page may put a tap between the stream and the speakers (its tests record what plays).
  // The stream starts a little ahead, so that the start reaches the audio thread before its
  // time even on a busy machine: the position counts from when it is really heard.
  web_audio_play__deps: ['$WebAudio'],
  web_audio_play: function(loop) {
    var context = WebAudio.context, buffer = WebAudio.buffer;
    if (WebAudio.source) {
      WebAudio.source.stop();
      WebAudio.source.disconnect();
    }
    var source = context.createBufferSource();
    source.buffer = buffer;
    source.loop = loop !== 0;
    WebAudio.start = context.currentTime + 0.1;
    source.connect(Module.page.output(context, buffer, WebAudio.start));
    source.start(WebAudio.start);
    WebAudio.source = source;
  },

  // Frames of the stream heard since play: the output's timestamp says which moment of the
  // context's time is heard at which moment of the page's clock; carried forward by that
  // clock, it moves smoothly, where currentTime moves in render blocks. Never past what has
  // been rendered; before the output's first timestamp, what has been rendered less latency.
  web_audio_heard__deps: ['$WebAudio'],
  web_audio_heard: function() {
    var context = WebAudio.context;
    if (!WebAudio.source) return 0;
    var stamp = context.getOutputTimestamp ? context.getOutputTimestamp() : null;
    var time;
    if (stamp && stamp.performanceTime > 0)
      time = stamp.contextTime + (performance.now() - stamp.performanceTime) / 1000;
    else
      time = context.currentTime - (context.baseLatency || 0) - (context.outputLatency || 0);
    time = Math.min(time, context.currentTime);
    return Math.max(0, (time - WebAudio.start) * WebAudio.buffer.sampleRate);
  },
});
