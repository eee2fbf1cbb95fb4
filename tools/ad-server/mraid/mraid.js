// Our MRAID 2.0 script. The ad server serves it for the three kinds of ad,
// filling in the placement and the states: banners and interstitials start
// "loading" and are "default" once the library says the ad is ready; the
// expanded banner's page starts "expanded". The library talks to the page
// through KESTRA_ReceiveMessage(name, data); the page asks the library by
// navigating to "pmsg" URLs, one navigation per request, so none is lost.
(function (window) {
  'use strict';
  if (window.mraid) return;

  var placement = '@@MRAID_PLACEMENT@@';
  var readyState = '@@MRAID_READY_STATE@@';
  var state = '@@MRAID_START_STATE@@';
  var viewable = false;
  var screenSize = { width: 0, height: 0 };
  var features = {};
  var expandProperties = { width: -1, height: -1, useCustomClose: false, isModal: true };
  var resizeProperties = null;
  var listeners = { ready: [], stateChange: [], viewableChange: [], sizeChange: [], error: [] };

  function fire(event, args) {
    var list = listeners[event].slice();
    for (var i = 0; i < list.length; i++) {
      try {
        list[i].apply(window, args);
      } catch (e) {
        if (window.console) console.log('mraid: ' + event + ' listener failed: ' + e);
      }
    }
  }

  function fail(message, action) { fire('error', [message, action]); }

  function setState(next) {
    if (state === next) return;
    state = next;
    fire('stateChange', [state]);
  }

  // One request per navigation: a second one in the same turn would replace the first.
  var queue = [];
  var sending = false;
  function pump() {
    if (!queue.length) {
      sending = false;
      return;
    }
    sending = true;
    window.location.href = queue.shift();
    setTimeout(pump, 0);
  }
  function send(name, parameters) {
    var pairs = [];
    for (var key in parameters) {
      if (!Object.prototype.hasOwnProperty.call(parameters, key)) continue;
      var value = parameters[key];
      if (value === undefined || value === null) continue;
      pairs.push(encodeURIComponent(key) + '=' + encodeURIComponent(String(value)));
    }
    queue.push('pmsg://mraid/' + name + (pairs.length ? '?' + pairs.join('&') : ''));
    if (!sending) pump();
  }

  function customClose() { return expandProperties.useCustomClose ? '1' : '0'; }

  function needsURL(url, action) {
    if (typeof url === 'string' && url !== '') return true;
    fail('a URL is needed', action);
    return false;
  }

  var mraid = {
    getVersion: function () { return '2.0'; },
    getState: function () { return state; },
    getPlacementType: function () { return placement; },
    isViewable: function () { return viewable; },
    getScreenSize: function () { return { width: screenSize.width, height: screenSize.height }; },
    getMaxSize: function () { return { width: screenSize.width, height: screenSize.height }; },
    supports: function (feature) { return features[feature] === true; },

    addEventListener: function (event, listener) {
      if (!listeners[event] || typeof listener !== 'function') {
        fail('unknown event or no listener', 'addEventListener');
        return;
      }
      if (listeners[event].indexOf(listener) < 0) listeners[event].push(listener);
    },
    removeEventListener: function (event, listener) {
      if (!listeners[event]) return;
      if (listener === undefined) {
        listeners[event] = [];
        return;
      }
      var at = listeners[event].indexOf(listener);
      if (at >= 0) listeners[event].splice(at, 1);
    },

    getExpandProperties: function () {
      return { width: expandProperties.width, height: expandProperties.height,
               useCustomClose: expandProperties.useCustomClose, isModal: true };
    },
    setExpandProperties: function (properties) {
      if (!properties) return;
      if (typeof properties.width === 'number') expandProperties.width = properties.width;
      if (typeof properties.height === 'number') expandProperties.height = properties.height;
      if (properties.useCustomClose !== undefined) expandProperties.useCustomClose = !!properties.useCustomClose;
    },
    getResizeProperties: function () { return resizeProperties; },
    setResizeProperties: function (properties) {
      if (!properties || typeof properties.width !== 'number' || typeof properties.height !== 'number' ||
          typeof properties.offsetX !== 'number' || typeof properties.offsetY !== 'number') {
        fail('width, height, offsetX and offsetY are needed', 'setResizeProperties');
        return;
      }
      resizeProperties = {
        width: properties.width, height: properties.height, offsetX: properties.offsetX, offsetY: properties.offsetY,
        customClosePosition: properties.customClosePosition || 'top-right',
        allowOffscreen: properties.allowOffscreen === undefined ? true : !!properties.allowOffscreen
      };
    },

    open: function (url) {
      if (needsURL(url, 'open')) send('open', { a: 'browser', u: url });
    },
    playVideo: function (url) {
      if (needsURL(url, 'playVideo')) send('open', { a: 'video', u: url });
    },
    expand: function (url) {
      if (url === undefined || url === null || url === '') send('open', { a: 'expand', custom_close: customClose() });
      else send('open', { a: 'webapp', u: url, custom_close: customClose() });
    },
    useCustomClose: function (custom) {
      expandProperties.useCustomClose = !!custom;
      send('customClose', { custom_close: customClose() });
    },
    close: function () { send('close', {}); },
    resize: function () {
      if (!resizeProperties) {
        fail('setResizeProperties first', 'resize');
        return;
      }
      send('mraid', {
        a: 'resize', width: resizeProperties.width, height: resizeProperties.height,
        offsetX: resizeProperties.offsetX, offsetY: resizeProperties.offsetY,
        customClosePosition: resizeProperties.customClosePosition,
        allowOffscreen: resizeProperties.allowOffscreen ? 'true' : 'false'
      });
    },
    storePicture: function (url) {
      if (needsURL(url, 'storePicture')) send('mraid', { a: 'storePicture', iurl: url });
    },
    createCalendarEvent: function (event) {
      if (!event) {
        fail('an event is needed', 'createCalendarEvent');
        return;
      }
      send('mraid', { a: 'createCalendarEvent', start: event.start, end: event.end, summary: event.summary,
                      description: event.description, location: event.location });
    }
  };

  var handlers = {
    onDeviceFeaturesReceived: function (data) { features = data || {}; },
    onReadyEventReceived: function () {
      setState(readyState);
      fire('ready', []);
    },
    onAdVisibilityChanged: function (data) {
      var now = !!data && data.visible === '1';
      if (now === viewable) return;
      viewable = now;
      fire('viewableChange', [viewable]);
    },
    onScreenInfoChanged: function (data) {
      if (!data) return;
      screenSize = { width: Number(data.width) || 0, height: Number(data.height) || 0 };
      fire('sizeChange', [screenSize.width, screenSize.height]);
    },
    expanding: function () { setState('expanded'); },
    collapsed: function () { setState('default'); }
  };

  var earlier = window.KESTRA_ReceiveMessage;
  window.KESTRA_ReceiveMessage = function (name, data) {
    if (Object.prototype.hasOwnProperty.call(handlers, name)) handlers[name](data);
    if (typeof earlier === 'function') earlier(name, data);
  };
  window.mraid = mraid;
})(window);
