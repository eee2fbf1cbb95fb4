#include "adlib/foundation/library.h"

#include "adlib/foundation/absolute_time.h"
#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/application.h"
#include "adlib/foundation/cache_set.h"
#include "adlib/foundation/cached_file.h"
#include "adlib/foundation/connection_factory.h"
#include "adlib/foundation/device.h"
#include "adlib/foundation/gesture_util.h"
#include "adlib/foundation/header_parser.h"
#include "adlib/foundation/intrinsic_images.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/notification_center.h"
#include "adlib/foundation/request_error.h"
#include "adlib/foundation/session.h"
#include "adlib/foundation/statistic_dictionary.h"
#include "adlib/foundation/statistics.h"
#include "adlib/foundation/string_encoding.h"
#include "adlib/foundation/timing.h"
#include "adlib/foundation/url_utilities.h"
#include "adlib/foundation/utilities.h"
#include "adlib/foundation/view_utilities.h"
#include "adlib/foundation/weak_timer.h"
#include "adlib/mediation/ad_manager.h"
#include "adlib/mediation/ad_network_adapter.h"
#include "adlib/mediation/adapter_custom_events.h"
#include "adlib/mediation/adapter_custom_events.h"
#include "adlib/mediation/adapter_marlex.h"
#include "adlib/mediation/connector.h"
#include "adlib/mediation/glue.h"
#include "adlib/mediation/mediation_config.h"
#include "adlib/mediation/mediation_utilities.h"
#include "adlib/mediation/protocols.h"
#include "adlib/pipeline/ad.h"
#include "adlib/pipeline/ad_fetcher.h"
#include "adlib/pipeline/banner_view.h"
#include "adlib/pipeline/ad_loader.h"
#include "adlib/pipeline/ad_preprocessor.h"
#include "adlib/pipeline/native_ad.h"
#include "adlib/pipeline/qrt_banner_view.h"
#include "adlib/pipeline/click_tracker.h"
#include "adlib/pipeline/extras.h"
#include "adlib/pipeline/interstitial.h"
#include "adlib/pipeline/location.h"
#include "adlib/pipeline/network.h"
#include "adlib/pipeline/request.h"
#include "adlib/pipeline/sdk_core_controller.h"
#include "adlib/pipeline/sdk_core_web_view.h"
#include "adlib/pipeline/search_request.h"
#include "adlib/pipeline/slot.h"
#include "adlib/pipeline/url_connection.h"
#include "adlib/render/ad_url_stash.h"
#include "adlib/render/bad_ad_util.h"
#include "adlib/render/banner_web_view_delegate.h"
#include "adlib/render/browser_web_view_delegate.h"
#include "adlib/render/impression_ticket_gesture_recognizer.h"
#include "adlib/render/in_app_purchase.h"
#include "adlib/render/mraid_calendar_properties.h"
#include "adlib/render/mraid_interceptor.h"
#include "adlib/render/mraid_picture.h"
#include "adlib/render/mraid_pmsg_handler.h"
#include "adlib/render/opener.h"
#include "adlib/render/optora_monitor.h"
#include "adlib/render/optora_pmsg_handler.h"
#include "adlib/render/payment_transaction_observer.h"
#include "adlib/render/pmsg_handler.h"
#include "adlib/render/pmsg_handlers.h"
#include "adlib/render/publisher_toolbar_controller.h"
#include "adlib/render/publisher_toolbar_credentials.h"
#include "adlib/render/swipe_configurations.h"
#include "adlib/render/view_controller.h"
#include "adlib/render/web_app_web_view_delegate.h"
#include "adlib/render/web_view.h"
#include "adlib/render/web_view_cache_set.h"
#include "adlib/render/web_view_delegate.h"

namespace adlib {

void registerClasses() {
    // The runtime keeps the first registration; a class cannot be registered twice.
    if (objc_getClass("YBXMacros") || !objc_getClass("NSObject")) return;
    registerMacrosClass();
    registerNetworkClass();
    registerDeviceClass();
    registerGestureUtilClasses();
    registerAdTypeClasses();
    registerRequestErrorClasses();
    registerStringEncodingClass();
    registerURLCategory();
    registerHeaderParserCategory();
    registerWeakTimerClasses();
    registerIntrinsicImagesClass();
    registerViewUtilitiesClass();
    registerUtilityCategories();
    registerNotificationClasses();
    registerConnectionFactoryClass();
    registerCachedFileClass();
    registerCacheSetClass();
    registerWebViewCacheSetClass();
    registerImpressionTicketGestureRecognizerClass();
    registerWebViewClass();
    registerAdURLStashClass();
    registerBadAdUtilClass();
    registerViewControllerClasses();
    registerPublisherToolbarControllerClass();
    registerWebViewDelegateClass();
    registerWebAppWebViewDelegateClass();
    registerBrowserWebViewDelegateClass();
    registerPMSGHandlerClass();
    registerPMSGHandlerClasses();
    registerOptoraPMSGHandlerClass();
    registerMRAIDPMSGHandlerClasses();
    registerMRAIDPictureClass();
    registerOptoraMonitorClass();
    registerURLConnectionClasses();
    registerAdClasses();
    registerSwipeConfigurationsClass();
    registerClickTrackerClasses();
    registerAdFetcherClass();
    registerMediationProtocols();
    registerMediationConfigClasses();
    registerConnectorClasses();
    registerAdManagerClass();
    // After the tracker collection: its mediation category adds to it.
    registerMediationUtilities();
    registerExtrasClasses();
    registerLocationClass();
    registerRequestClass();
    registerSearchRequestClasses();
    registerOpenerClass();
    registerInAppPurchaseClass();
    registerMRAIDCalendarPropertiesClass();
    registerBannerWebViewDelegateClass();
    registerPublisherToolbarCredentialsClass();
    registerPaymentTransactionObserverClass();
    registerGlueClass();
    registerSlotClass();
    registerBannerViewClass();
    registerInterstitialClass();
    registerNativeAdClasses();
    registerAdPreprocessorClass();
    registerQRTBannerViewClass();
    registerAdLoaderClasses();
    registerSDKCoreWebViewClasses();
    registerSDKCoreControllerClass();
    registerAbsoluteTimeClass();
    registerStatisticDictionaryClass();
    registerTimingClasses();
    registerStatisticsClasses();
    registerSessionClass();
    registerApplicationClass();
    registerMRAIDInterceptorClass();
    registerAdNetworkAdapterClass();
    registerCustomEventClasses();
    registerAdapterOrvaneMarlexAdsClass();
    // The class-load step comes last: it checks the categories registered above.
    sel::load(objc_getClass("YBXApplication"));
}

}  // namespace adlib
