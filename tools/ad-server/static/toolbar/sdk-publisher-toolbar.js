// Our ad server's publisher toolbar. The library runs it in a hidden page
// with the ad's HTML, its ad unit ID and the credentials it keeps; a
// publisher without credentials goes through our sign-in page first, whose
// title carries what the credentials are made of. Every answer is a "pmsg"
// navigation whose query carries the message's parameters. Plain ES5.
(function (window) {
  function send(name, parameters) {
    var pairs = [];
    for (var key in parameters) {
      if (Object.prototype.hasOwnProperty.call(parameters, key)) {
        pairs.push(encodeURIComponent(key) + '=' + encodeURIComponent(String(parameters[key])));
      }
    }
    window.location.href = 'pmsg://toolbar/' + name + (pairs.length ? '?' + pairs.join('&') : '');
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
