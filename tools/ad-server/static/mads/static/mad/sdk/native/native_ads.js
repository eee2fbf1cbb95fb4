// The native-ads script of the ad server, shared by the hidden banner's
// creatives and the native support page. A creative hands the library its
// ad configuration as the app event "native_ad_content"; the library runs
// orvane.kestra.nativeAds.handleClick for a click on one of the ad's assets
// and, on the support page, preProcessJsonPmsg for a native JSON response.
// Every message is a "pmsg" navigation; the page engine keeps only the last
// one of a turn, so they leave one per turn. Plain ES5.
(function (window) {
  var orvane = window.orvane = window.orvane || {};
  var kestra = orvane.kestra = orvane.kestra || {};
  var nativeAds = kestra.nativeAds = kestra.nativeAds || {};

  var outbox = [];
  var sending = false;

  function queryOf(parameters) {
    var pairs = [];
    for (var key in parameters) {
      if (Object.prototype.hasOwnProperty.call(parameters, key))
        pairs.push(encodeURIComponent(key) + '=' + encodeURIComponent(String(parameters[key])));
    }
    return pairs.join('&');
  }

  function sendNext() {
    if (outbox.length === 0) {
      sending = false;
      return;
    }
    var message = outbox.shift();
    window.location.href = 'pmsg://ad/' + message.name + '?' + queryOf(message.parameters);
    setTimeout(sendNext, 0);
  }

  function send(name, parameters) {
    outbox.push({ name: name, parameters: parameters });
    if (sending) return;
    sending = true;
    setTimeout(sendNext, 0);
  }

  function isObject(value) {
    return value !== null && typeof value === 'object' && Object.prototype.toString.call(value) !== '[object Array]';
  }

  // The click-tracking ping goes as a script load: a load, not a navigation.
  function ping(url) {
    var script = document.createElement('script');
    script.src = url;
    (document.head || document.body || document.documentElement).appendChild(script);
  }

  nativeAds.sendAdContent = function (configuration) {
    send('appEvent', { name: 'native_ad_content', info: JSON.stringify(configuration) });
  };

  // {"ad": ad object, "click": {"template", "asset"}}: pings the ad's click
  // tracking URL, then opens the first click action's URL, telling it the
  // asset that was tapped.
  nativeAds.handleClick = function (click) {
    if (!isObject(click) || !isObject(click.ad)) return;
    var tracking = isObject(click.ad.tracking_urls_and_actions) ? click.ad.tracking_urls_and_actions : {};
    var asset = isObject(click.click) ? String(click.click.asset) : '';
    if (typeof tracking.orvane_click_tracking_url === 'string' && tracking.orvane_click_tracking_url !== '')
      ping(tracking.orvane_click_tracking_url + '&asset=' + encodeURIComponent(asset));
    var actions = Object.prototype.toString.call(tracking.click_actions) === '[object Array]' ? tracking.click_actions : [];
    for (var i = 0; i < actions.length; ++i) {
      if (!isObject(actions[i]) || typeof actions[i].url !== 'string') continue;
      var url = actions[i].url;
      send('open', { a: 'app', u: url + (url.indexOf('?') < 0 ? '?' : '&') + 'asset=' + encodeURIComponent(asset) });
      return;
    }
  };

  // A native JSON response (an ad object, or an object with an "ads" array)
  // becomes an ad configuration, answered as "nativeAdPreProcess" with the
  // configuration's JSON text as "success".
  nativeAds.preProcessJsonPmsg = function (response) {
    if (typeof response === 'string') {
      try {
        response = JSON.parse(response);
      } catch (e) {
        send('nativeAdPreProcess', { error: 'malformed JSON' });
        return;
      }
    }
    if (!isObject(response)) {
      send('nativeAdPreProcess', { error: 'not an object' });
      return;
    }
    var configuration = Object.prototype.toString.call(response.ads) === '[object Array]' ? response : { ads: [response] };
    send('nativeAdPreProcess', { success: JSON.stringify(configuration) });
  };
})(window);
