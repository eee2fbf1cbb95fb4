// Our ad server's publisher toolbar. The library runs it in a hidden page
// with the ad's HTML, its ad unit ID and the credentials it keeps; a
// publisher without credentials goes through our sign-in page first, whose
// title carries what the credentials are made of. Every answer is a "pmsg"
// navigation whose query carries the message's parameters; a page keeps
// only the last of the navigations it starts in one turn, so each message
// goes in a turn of its own. Plain ES5.
(function (window) {
  var queue = [];
  var scheduled = false;

  function flush() {
    scheduled = false;
    if (!queue.length) return;
    window.location.href = queue.shift();
    if (queue.length) schedule();
  }

  function schedule() {
    if (scheduled) return;
    scheduled = true;
    setTimeout(flush, 0);
  }

  function send(name, parameters) {
    var pairs = [];
    for (var key in parameters) {
      if (Object.prototype.hasOwnProperty.call(parameters, key)) {
        pairs.push(encodeURIComponent(key) + '=' + encodeURIComponent(String(parameters[key])));
      }
    }
    queue.push('pmsg://toolbar/' + name + (pairs.length ? '?' + pairs.join('&') : ''));
    schedule();
  }

  function show(state) {
    window.KESTRA_toolbarState = state;
    send('showJavaScriptWebView', {});
  }

  window.KESTRA_initializeToolbar = function (init) {
    window.KESTRA_toolbarInit = init;
    send('log', { string: 'toolbar for ' + (init.adUnitID || '(no ad unit)') });
    if (init.credentials && init.credentials.publisher) {
      show({ publisher: init.credentials.publisher, adUnitID: init.adUnitID, adLength: (init.adContent || '').length });
      return;
    }
    send('loadAuthenticationUri', { authenticationUri: '@@BASE_URL@@/toolbar/sign-in.html' });
  };

  // The sign-in page's title: "Success publisher=<name>".
  window.KESTRA_decodeImpression = function (message) {
    var found = /publisher=([^ ]+)/.exec(message.authenticationPageTitle || '');
    if (!found) {
      send('clearCredentials', {});
      return;
    }
    send('storeCredentials', { publisher: found[1], token: 'rousa-' + found[1] });
    show({ publisher: found[1], adUnitID: window.KESTRA_toolbarInit && window.KESTRA_toolbarInit.adUnitID });
  };
})(window);
